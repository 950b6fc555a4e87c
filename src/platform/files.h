#pragma once
// The game folder and the files in it. The game names its files by paths relative to the
// game folder that begin with a backslash ("\saved\char.ch"); the data spells one folder in
// different cases ("\Images\", "\images\"), so names are matched without regard to case.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace morvath {

namespace fs = std::filesystem;

// The folder of the executable, unless a test or tool set another one.
const fs::path& GameFolder();
void SetGameFolder(const fs::path& folder);

// Game folder + relative path: "\" and "/" both separate, and each existing component is
// found without regard to case. Missing components are kept as written.
fs::path GamePath(std::wstring_view relative);
// The same, below an arbitrary base folder.
fs::path ResolvePath(const fs::path& base, std::wstring_view relative);

// Every change the game makes on the disk passes one gate, named by its step and the path it
// changes (a rename names both ends). The gate refuses a path named inside the game folder
// that a link carries out of it: nothing the game writes, appends or removes lies outside
// its folder. A watch sees every step that passes and can make it fail as a broken or full
// disk would (the tests install one).
enum class DiskStep { MakeFolder, Create, Write, SyncFile, Rename, Remove, SyncFolder, SyncAll };
struct DiskCall {
    DiskStep step;
    const fs::path& path;
    const fs::path* from = nullptr;  // the other end of a rename
};
using DiskWatch = std::function<bool(const DiskCall&)>;  // false: the step fails
// Installs a watch and returns the one it replaces (which it may call to keep that watching).
DiskWatch WatchDisk(DiskWatch watch);
// Whether a folder named inside the game folder is, through a link, somewhere else.
bool LeadsOutOfGameFolder(const fs::path& folder);

bool FileExists(const fs::path& p);
// Removes a file, or a link itself (never what it points at). True when nothing of that name
// is left; a missing file is no error.
bool RemoveFile(const fs::path& p);
// Removes every file and link directly in a folder (not its subfolders); true when all went.
bool RemoveFilesIn(const fs::path& folder);
bool RenameFile(const fs::path& from, const fs::path& to);
// Makes the folder and those above it that are missing.
bool MakeFolders(const fs::path& folder);
// Whether a new file can be made, and removed again, in the folder.
bool CanWriteIn(const fs::path& folder);

std::optional<std::string> ReadBytes(const fs::path& p);
// The whole text of a cp1251 file, line ends included; nothing when it cannot be read.
std::optional<std::wstring> ReadWholeFile(const fs::path& p);

// Writes through a temporary file in the same folder and a rename, so that a crash leaves
// either the old file or the new one, whole. The temporary name is short (any name the
// file system allows can be written), is created new (never an existing file or link), and
// its content is on the disk before the rename; the folder is synced after it. A file
// larger than the process may write fails like a full disk (the size-limit signal is
// ignored, so the write itself says so).
bool WriteFileAtomic(const fs::path& p, std::string_view bytes);
// Makes the renames and removals in a folder durable.
bool SyncFolder(const fs::path& folder);
// A folder whose files are made durable together, later, by whoever commits them (the save
// folder's staging): writes into it skip the sync of each file, which would cost a disk
// flush on every step into a new location.
void SyncLaterIn(const fs::path& folder);
// Flushes the file system that holds the folder: every write made before is on the disk.
bool SyncFileSystem(const fs::path& folder);
// While one lives, safe writes skip their syncs; the last one to end flushes the file
// system once. For work that writes many files in one go (a new game unpacks and builds
// hundreds), where one flush does what hundreds would.
class SyncBatch {
public:
    explicit SyncBatch(fs::path folder);
    ~SyncBatch();
    SyncBatch(const SyncBatch&) = delete;
    SyncBatch& operator=(const SyncBatch&) = delete;
    // Ends the batch now; false when the flush (if this batch was the last) failed.
    bool Finish();

private:
    fs::path folder_;
    bool open_ = true;
};
// A temporary file of WriteFileAtomic that a crash left behind.
bool IsLeftoverTemp(const fs::path& p);
// Removes those from a folder (not its subfolders).
void RemoveLeftoverTemps(const fs::path& folder);
// Appends bytes (the kill log grows a line at a time); a link at the name is not written
// through.
bool AppendToFile(const fs::path& p, std::string_view bytes);

// A location id or file stem that may safely become part of a path: not empty, no "\", "/",
// ":", "..", control characters or reserved device names.
bool IsPlainName(std::wstring_view name);

}  // namespace morvath
