#include "platform/settings.h"

#include <vector>

#include "platform/cp1251.h"
#include "platform/textforms.h"

namespace morvath {
namespace {

std::wstring Trim(const std::wstring& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == L' ' || s[b] == L'\t')) ++b;
    while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t')) --e;
    return s.substr(b, e - b);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x + 32);
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y + 32);
        if (x >= L'А' && x <= L'Я') x = static_cast<wchar_t>(x + 32);
        if (y >= L'А' && y <= L'Я') y = static_cast<wchar_t>(y + 32);
        if (x != y) return false;
    }
    return true;
}

// A file saved by an editor that marks its text as UTF-8 begins with these bytes; read as
// part of the first line they would hide its section.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::vector<std::wstring> Lines(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
    std::vector<std::wstring> lines;
    TextReader r{std::string(bytes)};
    std::wstring line;
    while (r.ReadLine(line)) lines.push_back(line);
    return lines;
}

// "[name]" -> name; not a section line -> false.
bool SectionName(const std::wstring& line, std::wstring& name) {
    std::wstring t = Trim(line);
    if (t.size() < 2 || t.front() != L'[') return false;
    auto close = t.find(L']');
    if (close == std::wstring::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

// "key=value" -> key and value; not a key line -> false.
bool KeyLine(const std::wstring& line, std::wstring& key, std::wstring& value) {
    std::wstring t = Trim(line);
    if (t.empty() || t[0] == L';') return false;
    auto eq = t.find(L'=');
    if (eq == std::wstring::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return true;
}

}  // namespace

std::wstring ReadIni(const std::wstring& section, const std::wstring& key, const fs::path& file) {
    if (!FileExists(file)) return L"";
    auto bytes = ReadBytes(file);
    if (!bytes) return L"";
    bool inSection = false;
    for (const auto& line : Lines(*bytes)) {
        std::wstring name, k, v;
        if (SectionName(line, name)) {
            // The first matching section is the one read; a second one is ignored.
            if (inSection) break;
            inSection = SameName(name, section);
        } else if (inSection && KeyLine(line, k, v) && SameName(k, key)) {
            // A value of a pair of quotes loses them, as the platform's reader does.
            if (v.size() >= 2 && ((v.front() == L'"' && v.back() == L'"') || (v.front() == L'\'' && v.back() == L'\''))) {
                v = v.substr(1, v.size() - 2);
            }
            if (v.size() > 254) v.resize(254);
            return v;
        }
    }
    return L"";
}

int WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
             const fs::path& file, bool create) {
    const bool exists = FileExists(file);
    if (!exists && !create) return 0;
    auto bytes = exists ? ReadBytes(file) : std::string();
    if (!bytes) return 0;
    std::vector<std::wstring> lines = Lines(*bytes);
    const std::wstring entry = key + L"=" + value;
    int sectionLine = -1;
    int lastKeyLine = -1;
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::wstring name, k, v;
        if (SectionName(lines[i], name)) {
            if (sectionLine >= 0) break;
            if (SameName(name, section)) {
                sectionLine = static_cast<int>(i);
                lastKeyLine = static_cast<int>(i);
            }
        } else if (sectionLine >= 0) {
            if (KeyLine(lines[i], k, v)) {
                if (SameName(k, key)) {
                    lines[i] = entry;
                    written = true;
                }
                lastKeyLine = static_cast<int>(i);
            } else if (!Trim(lines[i]).empty()) {
                lastKeyLine = static_cast<int>(i);
            }
        }
    }
    if (!written) {
        if (sectionLine < 0) {
            lines.push_back(L"[" + section + L"]");
            lines.push_back(entry);
        } else {
            lines.insert(lines.begin() + lastKeyLine + 1, entry);
        }
    }
    std::wstring text;
    for (const auto& l : lines) text += l + L"\r\n";
    const std::string_view mark = bytes->starts_with(kUtf8Mark) ? kUtf8Mark : "";
    return WriteFileAtomic(file, std::string(mark) + EncodeCp1251(text)) ? 1 : 0;
}

}  // namespace morvath
