#include "platform/files.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <system_error>
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

void RemoveFile(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

void RemoveFilesIn(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (it->is_regular_file(fileEc)) fs::remove(it->path(), fileEc);
    }
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

bool WriteAll(int fd, std::string_view bytes) {
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
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

SyncBatch::SyncBatch(fs::path folder) : folder_(std::move(folder)) { ++BatchDepth(); }

SyncBatch::~SyncBatch() {
    if (--BatchDepth() == 0) SyncFileSystem(folder_);
}

bool SyncFolder(const fs::path& folder) {
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
        if (IsLeftoverTemp(it->path()) && !it->is_directory(fileEc)) fs::remove(it->path(), fileEc);
    }
}

bool WriteFileAtomic(const fs::path& p, std::string_view bytes) {
    const fs::path folder = FolderOf(p);
    std::error_code ec;
    fs::create_directories(folder, ec);
    fs::path tmp;
    const int fd = CreateTempIn(folder, tmp);
    if (fd < 0) return false;
    // The content reaches the disk before the name does: after a power cut the new name
    // never points at an empty or half-written file.
    const bool syncNow = SyncNow(folder);
    bool ok = WriteAll(fd, bytes) && (!syncNow || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(tmp.c_str(), p.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    if (syncNow) SyncFolder(folder);
    return true;
}

bool AppendToFile(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::app);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
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
