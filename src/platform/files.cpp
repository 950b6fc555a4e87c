#include "platform/files.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <random>
#include <system_error>
#include <unistd.h>

#include "platform/cp1251.h"

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
        if (!fs::exists(exact, ec) && fs::is_directory(cur, ec)) {
            std::wstring want = LowerText(part);
            for (const auto& entry : fs::directory_iterator(cur, ec)) {
                if (LowerText(FromUtf8(entry.path().filename().string())) == want) {
                    exact = entry.path();
                    break;
                }
            }
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

bool WriteFileAtomic(const fs::path& p, std::string_view bytes) {
    std::error_code ec;
    if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
    static std::mt19937 gen(static_cast<unsigned>(::getpid()));
    fs::path tmp = p;
    tmp += ".tmp" + std::to_string(gen());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(tmp, ec);
            return false;
        }
    }
    fs::rename(tmp, p, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return false;
    }
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
