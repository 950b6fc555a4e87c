#include "platform/file_set.h"

#include <algorithm>
#include <system_error>

namespace morvath {
namespace {

// The record: a first line, then each file name ended by a NUL (no file name holds one),
// then a last line. A record without its last line is not one.
constexpr std::string_view kRecordHead = "morvath commit 1\n";
constexpr std::string_view kRecordEnd = "end\n";

bool IsOneName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

fs::file_status EntryStatus(const fs::path& p) {
    std::error_code ec;
    return fs::symlink_status(p, ec);
}

// A file of our own: links are never taken for one.
bool IsRealFile(const fs::path& p) { return fs::is_regular_file(EntryStatus(p)); }

// The folders of the staging and the undo are ours alone: a link or a file found in the
// place of one (planted, or left by anything but the game) is removed, never followed.
bool OwnFolder(const fs::path& p) {
    const auto st = EntryStatus(p);
    if (fs::is_directory(st)) return true;
    if (fs::exists(st) && !RemoveFile(p)) return false;
    return MakeFolders(p);
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (IsRealFile(it->path()) && !IsLeftoverTemp(it->path())) names.push_back(it->path().filename().string());
    }
    // In a fixed order: the same staged files always make the same record.
    std::sort(names.begin(), names.end());
    return names;
}

bool Exists(const fs::path& p) { return fs::exists(EntryStatus(p)); }

}  // namespace

std::optional<std::vector<std::string>> ParseCommitRecord(std::string_view bytes) {
    if (!bytes.starts_with(kRecordHead) || !bytes.ends_with(kRecordEnd)) return std::nullopt;
    bytes.remove_prefix(kRecordHead.size());
    bytes.remove_suffix(kRecordEnd.size());
    std::vector<std::string> names;
    while (!bytes.empty()) {
        const std::size_t nul = bytes.find('\0');
        if (nul == std::string_view::npos) return std::nullopt;
        const std::string_view name = bytes.substr(0, nul);
        if (!IsOneName(name)) return std::nullopt;
        names.emplace_back(name);
        bytes.remove_prefix(nul + 1);
    }
    return names;
}

fs::path StagedFolder::Kept() const { return folder / ".undo" / "kept"; }
fs::path StagedFolder::Added() const { return folder / ".undo" / "added"; }

fs::path StagedFolder::Current(std::wstring_view name) const {
    fs::path staged = ResolvePath(staging, name);
    if (FileExists(staged)) return staged;
    return ResolvePath(folder, name);
}

fs::path StagedFolder::Staged(std::wstring_view name) const {
    fs::path staged = ResolvePath(staging, name);
    if (!FileExists(staged)) staged = staging / ResolvePath(folder, name).filename();
    // A commit whose moves were cut short (a disk that filled up) is finished first: a new
    // version must never take the place of a file that commit still has to move in.
    if (Exists(record)) {
        auto names = ParseCommitRecord(ReadBytes(record).value_or(""));
        if (names && !RollForward(*names) &&
            std::find(names->begin(), names->end(), staged.filename().string()) != names->end()) {
            return {};
        }
    }
    if (!OwnFolder(staging)) return {};
    return staged;
}

bool StagedFolder::DropRecord() const { return RemoveFile(record) && SyncFolder(record.parent_path()); }

bool StagedFolder::ClearUndo() const { return RemoveFilesIn(Kept()) && RemoveFilesIn(Added()); }

// Moves the named files that are still staged into the folder. Files moved by an earlier
// try are no longer staged and are skipped, so a commit can be finished any number of times.
// The record goes before the undo folders, which thus always hold what a record's commit
// replaced.
bool StagedFolder::RollForward(const std::vector<std::string>& names) const {
    for (const auto& name : names) {
        const fs::path from = staging / name;
        if (IsRealFile(from) && !RenameFile(from, folder / name)) return false;
    }
    if (!SyncFolder(folder) || !SyncFolder(staging) || !DropRecord()) return false;
    ClearUndo();
    return true;
}

// Undoes the moves of a commit that failed part-way, newest first: each new version back to
// staging, the old one back in its place. Only then does the record go.
bool StagedFolder::RollBack(const std::vector<std::string>& moved) const {
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
        const fs::path in = folder / *it, kept = Kept() / *it;
        if (!RenameFile(in, staging / *it)) return false;
        if (Exists(kept) ? !RenameFile(kept, in) : !RemoveFile(Added() / *it)) return false;
    }
    return SyncFolder(folder) && SyncFolder(staging) && DropRecord();
}

// What the undo folders hold goes back: the replaced files to their places, the added ones
// out of the folder.
bool StagedFolder::PutBack() const {
    bool ok = true;
    for (const auto& name : FilesIn(Kept())) ok = RenameFile(Kept() / name, folder / name) && ok;
    for (const auto& name : FilesIn(Added())) ok = RemoveFile(folder / name) && RemoveFile(Added() / name) && ok;
    return SyncFolder(folder) && ok;
}

StagedFolder::Outcome StagedFolder::Commit() const {
    const std::vector<std::string> names = FilesIn(staging);
    if (names.empty()) return Outcome::Done;
    // A name the folder holds as a subfolder cannot be replaced: found now, the folder
    // stays as it was, rather than half changed by a move that stops there.
    for (const auto& name : names) {
        if (fs::is_directory(EntryStatus(folder / name))) return Outcome::NotDone;
    }
    // The undo folders start empty: what they hold later is this commit's alone. Their own
    // writes need no syncs: they matter only while a record is on the disk, and the record
    // is synced after them.
    SyncLaterIn(Added());
    if (!OwnFolder(folder / ".undo") || !OwnFolder(Kept()) || !OwnFolder(Added()) || !ClearUndo()) return Outcome::NotDone;
    std::string text(kRecordHead);
    for (const auto& name : names) {
        text += name;
        text += '\0';
    }
    text += kRecordEnd;
    // The staged files were written without their own syncs: they reach the disk before the
    // record that names them does. From the moment the record is on the disk the commit has
    // happened, unless it is undone.
    if (!SyncFileSystem(staging)) return Outcome::NotDone;
    if (!WriteFileAtomic(record, text)) return DropRecord() ? Outcome::NotDone : Outcome::Unfinished;

    std::vector<std::string> moved;
    bool ok = true;
    for (const auto& name : names) {
        const fs::path in = folder / name;
        const bool had = Exists(in);
        if (!(had ? RenameFile(in, Kept() / name) : WriteFileAtomic(Added() / name, ""))) {
            ok = false;
            break;
        }
        if (!RenameFile(staging / name, in)) {
            // This one's old version goes back at once; the moves before it are undone below.
            if (had ? !RenameFile(Kept() / name, in) : !RemoveFile(Added() / name)) return Outcome::Unfinished;
            ok = false;
            break;
        }
        moved.push_back(name);
    }
    ok = ok && SyncFolder(folder) && SyncFolder(staging);
    if (!ok) return RollBack(moved) ? (ClearUndo(), Outcome::NotDone) : Outcome::Unfinished;
    // Every file is in; a record that cannot be removed now names files no longer staged,
    // and goes at the next try.
    if (DropRecord()) ClearUndo();
    return Outcome::Done;
}

bool StagedFolder::Recover() const {
    bool whole = true;
    if (Exists(record)) {
        auto bytes = ReadBytes(record);
        auto names = bytes ? ParseCommitRecord(*bytes) : std::nullopt;
        // A commit that cannot be finished now keeps its staged files for the next try.
        if (names && !RollForward(*names)) return true;
        if (!names) {
            whole = false;
            if (!PutBack() || !DropRecord()) return false;
        }
    }
    // A link in the staging's place is removed as a link: what it points at is not ours.
    if (fs::is_symlink(EntryStatus(staging))) RemoveFile(staging);
    else RemoveFilesIn(staging);
    ClearUndo();
    RemoveLeftoverTemps(folder);
    RemoveLeftoverTemps(staging);
    RemoveLeftoverTemps(record.parent_path());
    return whole;
}

bool StagedFolder::Discard() const {
    const bool dropped = DropRecord();
    const bool staged = fs::is_symlink(EntryStatus(staging)) ? RemoveFile(staging) : RemoveFilesIn(staging);
    return ClearUndo() && dropped && staged;
}

}  // namespace morvath
