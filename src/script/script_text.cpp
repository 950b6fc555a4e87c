#include "script/script_text.h"

#include <cmath>

#include "platform/numbers.h"

namespace morvath {

std::wstring_view TrimBlanks(std::wstring_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == L' ') ++b;
    while (e > b && s[e - 1] == L' ') --e;
    return s.substr(b, e - b);
}

wchar_t LowerChar(wchar_t c) {
    if (c < 0x80) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<wchar_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 32);   // А..Я
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);   // Ѐ..Џ, Ё among them
    if (c == 0x490) return 0x491;                                        // Ґ
    return c;
}

std::wstring LCase(std::wstring_view s) {
    std::wstring r(s);
    for (auto& c : r) c = LowerChar(c);
    return r;
}

bool EqualsAsciiNoCase(std::wstring_view s, std::wstring_view lowerKeyword) {
    if (s.size() != lowerKeyword.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
        if (c != lowerKeyword[i]) return false;
    }
    return true;
}

std::wstring ValueText(const Variant& v) { return v.ToText(); }

double ValueNumber(const Variant& v) { return v.IsEmpty() ? 0.0 : v.ToNumber(); }

std::optional<double> StrictNumber(std::wstring_view s) {
    if (!IsNumeric(s)) return std::nullopt;
    double d = Val(s);
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<std::int16_t> StrictInteger(std::wstring_view s) {
    auto d = StrictNumber(s);
    if (!d) return std::nullopt;
    return CInt(*d);
}

std::optional<std::int32_t> StrictLong(std::wstring_view s) {
    auto d = StrictNumber(s);
    if (!d) return std::nullopt;
    return CLng(*d);
}

}  // namespace morvath
