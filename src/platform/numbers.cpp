#include "platform/numbers.h"

#include <cmath>
#include <cstdio>
#include <cwctype>

namespace morvath {

double Int(double x) { return std::floor(x); }

double Val(std::wstring_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == L' ' || t[i] == L'\t' || t[i] == L'\n' || t[i] == L'\r')) ++i;
    std::string digits;
    if (i < t.size() && (t[i] == L'-' || t[i] == L'+')) digits.push_back(static_cast<char>(t[i++]));
    bool any = false;
    while (i < t.size() && t[i] >= L'0' && t[i] <= L'9') { digits.push_back(static_cast<char>(t[i++])); any = true; }
    if (i < t.size() && t[i] == L'.') {
        digits.push_back('.');
        ++i;
        while (i < t.size() && t[i] >= L'0' && t[i] <= L'9') { digits.push_back(static_cast<char>(t[i++])); any = true; }
    }
    if (!any) return 0.0;
    if (i < t.size() && (t[i] == L'E' || t[i] == L'e')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < t.size() && (t[j] == L'-' || t[j] == L'+')) exp.push_back(static_cast<char>(t[j++]));
        bool expDigits = false;
        while (j < t.size() && t[j] >= L'0' && t[j] <= L'9') { exp.push_back(static_cast<char>(t[j++])); expDigits = true; }
        if (expDigits) digits += exp;
    }
    double v = std::strtod(digits.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

bool IsNumeric(std::wstring_view t) {
    std::size_t b = 0, e = t.size();
    while (b < e && (t[b] == L' ' || t[b] == L'\t')) ++b;
    while (e > b && (t[e - 1] == L' ' || t[e - 1] == L'\t')) --e;
    if (b == e) return false;
    std::size_t i = b;
    if (t[i] == L'-' || t[i] == L'+') ++i;
    bool any = false;
    while (i < e && std::iswdigit(t[i])) { ++i; any = true; }
    if (i < e && t[i] == L'.') {
        ++i;
        while (i < e && std::iswdigit(t[i])) { ++i; any = true; }
    }
    if (!any) return false;
    if (i < e && (t[i] == L'E' || t[i] == L'e')) {
        ++i;
        if (i < e && (t[i] == L'-' || t[i] == L'+')) ++i;
        bool expDigits = false;
        while (i < e && std::iswdigit(t[i])) { ++i; expDigits = true; }
        if (!expDigits) return false;
    }
    return i == e;
}

std::wstring NumText(double x) {
    if (x != x || std::isinf(x)) return L"0";
    if (x == 0) return L"0";
    char buf[64];
    if (std::fabs(x) >= 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", x);
    } else {
        std::snprintf(buf, sizeof buf, "%.15g", x);
        // %.15g may still choose an exponent for tiny numbers; spell them out.
        if (std::string(buf).find('e') != std::string::npos) {
            std::snprintf(buf, sizeof buf, "%.20f", x);
            std::string s = buf;
            while (!s.empty() && s.back() == '0') s.pop_back();
            if (!s.empty() && s.back() == '.') s.pop_back();
            return std::wstring(s.begin(), s.end());
        }
    }
    std::string s = buf;
    return std::wstring(s.begin(), s.end());
}

std::wstring StrNum(double x) {
    std::wstring t = NumText(x);
    if (t.empty() || t[0] != L'-') t.insert(t.begin(), L' ');
    return t;
}

}  // namespace morvath
