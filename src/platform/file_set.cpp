#include "platform/file_set.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace morvath {
namespace {

// The record: a first line, then each file name ended by a NUL (no file name holds one),
// then a last line. A record without its last line is not one.
constexpr std::string_view kRecordHead = "morvath commit 1\n";
constexpr std::string_view kRecordEnd = "end\n";

bool IsOneName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

std::vector<std::string> StagedNames(const fs::path& staging) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(staging, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (it->is_regular_file(fileEc) && !IsLeftoverTemp(it->path())) names.push_back(it->path().filename().string());
    }
    return names;
}

// A folder opened for names taken relative to it: a commit of many files walks each
// folder's path once, not once a file.
class OpenFolder {
public:
    explicit OpenFolder(const fs::path& p) : fd_(::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~OpenFolder() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    int fd() const { return fd_; }
    // The kind of the entry itself (a link is not followed); 0 when there is none.
    mode_t Kind(const std::string& name) const {
        struct stat st;
        if (fd_ < 0 || ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return 0;
        return st.st_mode & S_IFMT;
    }

private:
    int fd_;
};

// Moves the named files that are still staged into the folder. Files moved by an earlier
// try are no longer staged and are skipped, so a commit can be finished any number of times.
bool MoveIn(const StagedFolder& f, const std::vector<std::string>& names) {
    bool ok = true;
    {
        const OpenFolder from(f.staging), to(f.folder);
        for (const auto& name : names) {
            if (from.Kind(name) != S_IFREG) continue;
            if (to.fd() < 0 || ::renameat(from.fd(), name.c_str(), to.fd(), name.c_str()) != 0) {
                ok = false;
                break;
            }
        }
    }
    SyncFolder(f.folder);
    SyncFolder(f.staging);
    if (!ok) return false;
    std::error_code ec;
    fs::remove(f.record, ec);
    SyncFolder(f.record.parent_path());
    return !ec;
}

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

fs::path StagedFolder::Current(std::wstring_view name) const {
    fs::path staged = ResolvePath(staging, name);
    if (FileExists(staged)) return staged;
    return ResolvePath(folder, name);
}

fs::path StagedFolder::Staged(std::wstring_view name) const {
    // A commit whose moves were cut short (a disk that filled up) is finished first: a new
    // version must never take the place of a file that commit still has to move in.
    if (FileExists(record)) {
        if (auto names = ParseCommitRecord(ReadBytes(record).value_or(""))) MoveIn(*this, *names);
    }
    fs::path staged = ResolvePath(staging, name);
    if (FileExists(staged)) return staged;
    return staging / ResolvePath(folder, name).filename();
}

bool StagedFolder::Commit() const {
    const std::vector<std::string> names = StagedNames(staging);
    if (names.empty()) return true;
    // A name the folder holds as a subfolder cannot be replaced: found now, the folder
    // stays as it was, rather than half changed by a move that stops there.
    {
        const OpenFolder to(folder);
        for (const auto& name : names) {
            if (to.Kind(name) == S_IFDIR) return false;
        }
    }
    std::string text(kRecordHead);
    for (const auto& name : names) {
        text += name;
        text += '\0';
    }
    text += kRecordEnd;
    // The staged files were written without their own syncs: they reach the disk before the
    // record that names them does. From the moment the record is on the disk the commit has
    // happened, even if the moves after it are cut short.
    if (!SyncFileSystem(staging) || !WriteFileAtomic(record, text)) return false;
    return MoveIn(*this, names);
}

void StagedFolder::Recover() const {
    if (auto bytes = ReadBytes(record)) {
        auto names = ParseCommitRecord(*bytes);
        // A commit that cannot be finished now keeps its staged files for the next try.
        if (names && !MoveIn(*this, *names)) return;
        RemoveFile(record);
    }
    RemoveFilesIn(staging);
    RemoveLeftoverTemps(folder);
    RemoveLeftoverTemps(record.parent_path());
}

void StagedFolder::Discard() const {
    RemoveFile(record);
    RemoveFilesIn(staging);
}

}  // namespace morvath
