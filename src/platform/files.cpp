#include "platform/files.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>
#include <unistd.h>

#include "platform/cp1251.h"
#include "platform/folder_names.h"

namespace morvath {
namespace {

fs::path& folder() {
    static fs::path f = [] {
        std::error_code ec;
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        return ec ? fs::current_path() : exe.parent_path();
    }();
    return f;
}

}  // namespace

const fs::path& GameFolder() { return folder(); }
void SetGameFolder(const fs::path& f) { folder() = f; }

fs::path ResolvePath(const fs::path& base, std::wstring_view relative) {
    fs::path cur = base;
    std::wstring part;
    auto flush = [&] {
        if (part.empty()) return;
        fs::path exact = cur / fs::path(ToUtf8(part));
        std::error_code ec;
        if (!fs::exists(exact, ec)) {
            if (auto found = FindNameInFolder(cur, part)) exact = cur / *found;
        }
        cur = exact;
        part.clear();
    };
    for (wchar_t c : relative) {
        if (c == L'\\' || c == L'/') flush();
        else part.push_back(c);
    }
    flush();
    return cur;
}

fs::path GamePath(std::wstring_view relative) { return ResolvePath(GameFolder(), relative); }

bool FileExists(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

namespace {

DiskWatch& Watch() {
    static DiskWatch watch;
    return watch;
}

// Whether `inner` lies in `outer` (or is it), both spelt alike.
bool Within(const fs::path& inner, const fs::path& outer) {
    const fs::path rel = inner.lexically_relative(outer);
    return !rel.empty() && *rel.begin() != "..";
}

// The step may go ahead: it stays in the game folder, and the watch lets it.
bool Gate(DiskStep step, const fs::path& path, const fs::path* from = nullptr) {
    const bool namesEntry = step == DiskStep::MakeFolder || step == DiskStep::Create || step == DiskStep::Rename ||
                            step == DiskStep::Remove;
    if (namesEntry && (LeadsOutOfGameFolder(path.parent_path()) || (from && LeadsOutOfGameFolder(from->parent_path())))) {
        errno = EPERM;
        return false;
    }
    if (Watch() && !Watch()(DiskCall{step, path, from})) {
        errno = EIO;
        return false;
    }
    return true;
}

}  // namespace

DiskWatch WatchDisk(DiskWatch watch) { return std::exchange(Watch(), std::move(watch)); }

namespace {

// Where a path leads once every link on its way is followed (a part not made yet is kept as
// named); empty when that cannot be told.
fs::path Followed(const fs::path& p) {
    char real[PATH_MAX];
    if (::realpath(p.c_str(), real)) return fs::path(real);
    std::error_code ec;
    fs::path followed = fs::weakly_canonical(p, ec);
    return ec ? fs::path() : followed;
}

}  // namespace

bool LeadsOutOfGameFolder(const fs::path& folder) {
    const fs::path game = GameFolder().lexically_normal();
    const fs::path named = folder.lexically_normal();
    if (!named.is_absolute() || !Within(named, game)) return false;  // not the game's to judge
    // Only a link on the way can lead out: the folders below the game folder are looked at
    // one by one, and the whole way is followed only when one of them is a link.
    fs::path at = game;
    for (const auto& part : named.lexically_relative(game)) {
        if (part == ".") continue;
        at /= part;
        struct stat st;
        if (::lstat(at.c_str(), &st) != 0) return errno != ENOENT;  // nothing below a missing folder
        if (!S_ISLNK(st.st_mode)) continue;
        // The game folder itself is followed once for each place it is set to.
        static fs::path followedFor, realGame;
        if (followedFor != game) std::tie(followedFor, realGame) = std::pair(game, Followed(game));
        const fs::path real = Followed(named);
        return real.empty() || realGame.empty() || !Within(real, realGame);
    }
    return false;
}

bool RemoveFile(const fs::path& p) {
    if (!Gate(DiskStep::Remove, p)) return false;
    return ::unlink(p.c_str()) == 0 || errno == ENOENT;
}

bool RemoveFilesIn(const fs::path& folder) {
    bool all = true;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    if (ec) return ec == std::errc::no_such_file_or_directory;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        const auto st = it->symlink_status(fileEc);
        if (fs::is_regular_file(st) || fs::is_symlink(st)) all = RemoveFile(it->path()) && all;
    }
    return all && !ec;
}

bool RenameFile(const fs::path& from, const fs::path& to) {
    return Gate(DiskStep::Rename, to, &from) && ::rename(from.c_str(), to.c_str()) == 0;
}

bool MakeFolders(const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || fs::is_directory(folder, ec)) return true;
    if (!MakeFolders(folder.parent_path())) return false;
    return Gate(DiskStep::MakeFolder, folder) && (::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST);
}

std::optional<std::string> ReadBytes(const fs::path& p) {
    // A folder opens like a file here and then throws on the first read.
    if (!FileExists(p)) return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return data;
}

std::optional<std::wstring> ReadWholeFile(const fs::path& p) {
    auto bytes = ReadBytes(p);
    if (!bytes) return std::nullopt;
    return DecodeCp1251(*bytes);
}

namespace {

// Every temporary file the game writes is named so: short, whatever the length of the name
// it stands in for, and easy to tell from the game's own files when a crash left it behind.
constexpr std::string_view kTempPrefix = ".~wr";
constexpr std::string_view kTempSuffix = ".tmp";

fs::path FolderOf(const fs::path& p) { return p.has_parent_path() ? p.parent_path() : fs::path("."); }

bool WriteAll(int fd, const fs::path& p, std::string_view bytes) {
    if (!Gate(DiskStep::Write, p)) return false;
    // Past the process's file-size limit the system would end the game with a signal; ignored,
    // the write fails with EFBIG instead, and the game deals with it as with a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A new empty file in `folder` under a name nobody holds. O_EXCL and O_NOFOLLOW: a name
// that exists already, even as a link planted to point elsewhere, is never written through.
int CreateTempIn(const fs::path& folder, fs::path& created) {
    static std::mt19937_64 gen(std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()));
    for (int attempt = 0; attempt < 64; ++attempt) {
        // The process id keeps a forked copy of the generator from choosing its parent's names.
        const std::uint64_t r = gen() ^ (static_cast<std::uint64_t>(::getpid()) << 40);
        char digits[17] = {};
        std::to_chars(digits, digits + 16, r, 16);
        fs::path p = folder / (std::string(kTempPrefix) + digits + std::string(kTempSuffix));
        if (!Gate(DiskStep::Create, p)) return -1;
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            created = std::move(p);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

std::vector<fs::path>& LaterFolders() {
    static std::vector<fs::path> folders;
    return folders;
}
int& BatchDepth() {
    static int depth = 0;
    return depth;
}

// Whether a write into the folder must reach the disk before it returns.
bool SyncNow(const fs::path& folder) {
    if (BatchDepth() > 0) return false;
    const auto& later = LaterFolders();
    return std::find(later.begin(), later.end(), folder) == later.end();
}

}  // namespace

void SyncLaterIn(const fs::path& folder) {
    auto& later = LaterFolders();
    if (std::find(later.begin(), later.end(), folder) == later.end()) later.push_back(folder);
}

bool SyncFileSystem(const fs::path& folder) {
    if (!Gate(DiskStep::SyncAll, folder)) return false;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

SyncBatch::SyncBatch(fs::path folder) : folder_(std::move(folder)) { ++BatchDepth(); }

SyncBatch::~SyncBatch() { Finish(); }

bool SyncBatch::Finish() {
    if (!std::exchange(open_, false)) return true;
    return --BatchDepth() > 0 || SyncFileSystem(folder_);
}

bool SyncFolder(const fs::path& folder) {
    if (!Gate(DiskStep::SyncFolder, folder)) return false;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    // Some file systems cannot sync a folder and say so; their renames are as durable as
    // they get.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

bool IsLeftoverTemp(const fs::path& p) {
    const std::string name = p.filename().string();
    return name.size() > kTempPrefix.size() + kTempSuffix.size() && name.starts_with(kTempPrefix) &&
           name.ends_with(kTempSuffix);
}

void RemoveLeftoverTemps(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (IsLeftoverTemp(it->path()) && !fs::is_directory(it->symlink_status(fileEc))) RemoveFile(it->path());
    }
}

bool CanWriteIn(const fs::path& folder) {
    fs::path probe;
    const int fd = CreateTempIn(folder, probe);
    if (fd < 0) return false;
    ::close(fd);
    return RemoveFile(probe);
}

bool WriteFileAtomic(const fs::path& p, std::string_view bytes) {
    if (!p.has_filename()) return false;
    const fs::path folder = FolderOf(p);
    if (!MakeFolders(folder)) return false;
    fs::path tmp;
    const int fd = CreateTempIn(folder, tmp);
    if (fd < 0) return false;
    // The content reaches the disk before the name does: after a power cut the new name
    // never points at an empty or half-written file.
    const bool syncNow = SyncNow(folder);
    bool ok = WriteAll(fd, tmp, bytes) && (!syncNow || (Gate(DiskStep::SyncFile, tmp) && ::fsync(fd) == 0));
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = RenameFile(tmp, p);
    if (!ok) {
        RemoveFile(tmp);
        return false;
    }
    // The new name is on the disk only once the folder is: a rename that may still vanish is
    // no write done.
    return !syncNow || SyncFolder(folder);
}

bool AppendToFile(const fs::path& p, std::string_view bytes) {
    if (!Gate(DiskStep::Create, p)) return false;
    const int fd = ::open(p.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool ok = WriteAll(fd, p, bytes);
    return ::close(fd) == 0 && ok;
}

bool IsPlainName(std::wstring_view name) {
    if (name.empty()) return false;
    for (wchar_t c : name) {
        if (c < 32 || c == 127 || c == L'\\' || c == L'/' || c == L':') return false;
    }
    if (name.find(L"..") != std::wstring_view::npos) return false;
    // "." names the folder itself.
    if (name == L".") return false;
    std::wstring stem = LowerText(std::wstring(name.substr(0, name.find(L'.'))));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    static const std::array<std::wstring_view, 6> reserved = {L"con", L"prn", L"aux", L"nul", L"clock$", L""};
    for (auto r : reserved) {
        if (!r.empty() && stem == r) return false;
    }
    if (stem.size() == 4 && (stem.starts_with(L"com") || stem.starts_with(L"lpt")) && stem[3] >= L'0' && stem[3] <= L'9') return false;
    return true;
}

}  // namespace morvath
