#include "script/script_text.h"

#include <cmath>
#include <string>

#include "platform/cp1251.h"
#include "platform/numbers.h"

namespace morvath {

std::wstring_view TrimBlanks(std::wstring_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == L' ') ++b;
    while (e > b && s[e - 1] == L' ') --e;
    return s.substr(b, e - b);
}

wchar_t LowerChar(wchar_t c) { return LowerLetter(c); }

std::wstring LCase(std::wstring_view s) { return LowerText(s); }

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

double ScriptNumber(std::wstring_view s) {
    std::string digits;
    bool sign = false, point = false, any = false;
    for (wchar_t c : s) {
        if (c == L' ') continue;
        if ((c == L'-' || c == L'+') && !sign && digits.empty()) {
            sign = true;
            digits.push_back(static_cast<char>(c));
        } else if (c >= L'0' && c <= L'9') {
            any = true;
            digits.push_back(static_cast<char>(c));
        } else if (c == L'.' && !point) {
            point = true;
            digits.push_back('.');
        } else {
            break;
        }
    }
    if (!any) return 0.0;
    return DecimalValue(digits);
}

double ValueNumber(const Variant& v) {
    if (v.IsText()) return ScriptNumber(v.ToText());
    return v.IsEmpty() ? 0.0 : v.ToNumber();
}

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
