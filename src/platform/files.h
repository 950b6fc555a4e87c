#pragma once
// The game folder and the files in it. The game names its files by paths relative to the
// game folder that begin with a backslash ("\saved\char.ch"); the data spells one folder in
// different cases ("\Images\", "\images\"), so names are matched without regard to case.
#include <filesystem>
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

bool FileExists(const fs::path& p);
// Removes a file; a missing file is not an error.
void RemoveFile(const fs::path& p);
// Removes every file directly in a folder (not its subfolders); failures are ignored.
void RemoveFilesIn(const fs::path& folder);

std::optional<std::string> ReadBytes(const fs::path& p);
// The whole text of a cp1251 file, line ends included; nothing when it cannot be read.
std::optional<std::wstring> ReadWholeFile(const fs::path& p);

// Writes through a temporary file in the same folder and a rename, so that a crash leaves
// either the old file or the new one, whole. The temporary name is short (any name the
// file system allows can be written), is created new (never an existing file or link), and
// its content is on the disk before the rename; the folder is synced after it.
bool WriteFileAtomic(const fs::path& p, std::string_view bytes);
// Makes the renames and removals in a folder durable.
bool SyncFolder(const fs::path& folder);
// A temporary file of WriteFileAtomic that a crash left behind.
bool IsLeftoverTemp(const fs::path& p);
// Removes those from a folder (not its subfolders).
void RemoveLeftoverTemps(const fs::path& folder);
// Appends bytes (the kill log grows a line at a time).
bool AppendToFile(const fs::path& p, std::string_view bytes);

// A location id or file stem that may safely become part of a path: not empty, no "\", "/",
// ":", "..", control characters or reserved device names.
bool IsPlainName(std::wstring_view name);

}  // namespace morvath
