#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace morvath {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Whether a decimal text beyond a Double's range is too large for it rather than too small:
// the place of its first significant digit plus its exponent.
bool TooLarge(std::string_view s) {
    long long place = 0;
    bool seen = false;
    std::size_t i = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (s[i] != '0') seen = true;
        if (seen) ++place;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            if (seen) continue;
            if (s[i] != '0') seen = true;
            else --place;
        }
    }
    long long exp = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) exp = std::min(exp * 10 + (s[i] - '0'), 1000000000LL);
    }
    return place + (negative ? -exp : exp) > 0;
}

}  // namespace

double DecimalValue(std::string_view s) {
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc::result_out_of_range) v = TooLarge(s) ? std::numeric_limits<double>::max() : 0.0;
    else if (r.ec != std::errc()) v = 0;
    return negative ? -v : v;
}

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
    return DecimalValue(digits);
}

bool IsNumeric(std::wstring_view t) {
    std::size_t b = 0, e = t.size();
    while (b < e && (t[b] == L' ' || t[b] == L'\t')) ++b;
    while (e > b && (t[e - 1] == L' ' || t[e - 1] == L'\t')) --e;
    if (b == e) return false;
    std::size_t i = b;
    if (t[i] == L'-' || t[i] == L'+') ++i;
    bool any = false;
    while (i < e && IsDigit(t[i])) { ++i; any = true; }
    if (i < e && t[i] == L'.') {
        ++i;
        while (i < e && IsDigit(t[i])) { ++i; any = true; }
    }
    if (!any) return false;
    if (i < e && (t[i] == L'E' || t[i] == L'e')) {
        ++i;
        if (i < e && (t[i] == L'-' || t[i] == L'+')) ++i;
        bool expDigits = false;
        while (i < e && IsDigit(t[i])) { ++i; expDigits = true; }
        if (!expDigits) return false;
    }
    return i == e;
}

std::wstring NumText(double x) {
    if (x != x || std::isinf(x)) return L"0";
    if (x == 0) return L"0";
    // Room for the largest Double written out in full.
    char buf[400];
    std::to_chars_result r;
    if (std::fabs(x) >= 1e15) {
        r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 0);
    } else {
        r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
        // Fifteen significant digits may still choose an exponent for tiny numbers; spell
        // them out.
        if (std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)).find('e') != std::string_view::npos) {
            r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 20);
            std::string s(buf, r.ptr);
            while (!s.empty() && s.back() == '0') s.pop_back();
            if (!s.empty() && s.back() == '.') s.pop_back();
            return std::wstring(s.begin(), s.end());
        }
    }
    return std::wstring(buf, r.ptr);
}

std::wstring StrNum(double x) {
    std::wstring t = NumText(x);
    if (t.empty() || t[0] != L'-') t.insert(t.begin(), L' ');
    return t;
}

}  // namespace morvath
