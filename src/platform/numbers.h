#pragma once
// The number rules every rule of the game leans on: Int rounds down, a Double stored into a
// 16- or 32-bit field rounds half to even (2.5 -> 2, 3.5 -> 4) and saturates at the field's
// range (an overflow must never be undefined behaviour), text <-> number with "." only.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace morvath {

// Whole part rounded towards minus infinity. Every number stored into a field passes here, a
// turn's moves many thousand times: done inline for the ordinary magnitudes, where the
// truncation to a 64-bit integer is exact; larger ones, infinities and NaN are whole already
// or stay as they are, and go to the library.
inline double Int(double x) {
    constexpr double kExact = 4503599627370496.0;  // 2^52: from here on every double is whole
    if (!(x > -kExact && x < kExact)) return std::floor(x);
    const double t = static_cast<double>(static_cast<long long>(x));
    return t == x ? x : (t > x ? t - 1 : t);
}

// Round half to even, saturating to T's range; NaN becomes 0.
template <typename T>
T RoundTo(double x) {
    if (x != x) return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
    if (x <= lo) return std::numeric_limits<T>::min();
    if (x >= hi) return std::numeric_limits<T>::max();
    double f = Int(x);
    double diff = x - f;
    double r = f;
    if (diff > 0.5 || (diff == 0.5 && static_cast<std::int64_t>(f) % 2 != 0)) r = f + 1;
    return static_cast<T>(r);
}

inline std::int16_t CInt(double x) { return RoundTo<std::int16_t>(x); }
inline std::int32_t CLng(double x) { return RoundTo<std::int32_t>(x); }

// A 16- or 32-bit integer field. Anything stored into it goes through RoundTo, so
// `hero.HP = hero.HP - 7.5` behaves as the game's rules expect and never overflows.
template <typename T>
class VbInt {
public:
    constexpr VbInt() = default;
    VbInt(double x) : v_(RoundTo<T>(x)) {}  // NOLINT: implicit on purpose
    VbInt(int x) : v_(RoundTo<T>(static_cast<double>(x))) {}  // NOLINT
    VbInt(long x) : v_(RoundTo<T>(static_cast<double>(x))) {}  // NOLINT
    VbInt(long long x) : v_(RoundTo<T>(static_cast<double>(x))) {}  // NOLINT
    operator T() const { return v_; }  // NOLINT
    T value() const { return v_; }
    VbInt& operator+=(double d) { return *this = VbInt(static_cast<double>(v_) + d); }
    VbInt& operator-=(double d) { return *this = VbInt(static_cast<double>(v_) - d); }
    VbInt& operator*=(double d) { return *this = VbInt(static_cast<double>(v_) * d); }
    VbInt& operator++() { return *this += 1; }
    VbInt& operator--() { return *this -= 1; }
    VbInt operator++(int) { VbInt old = *this; *this += 1; return old; }
    VbInt operator--(int) { VbInt old = *this; *this -= 1; return old; }

private:
    T v_ = 0;
};

using Integer = VbInt<std::int16_t>;
using Long = VbInt<std::int32_t>;

// A decimal text as files and scripts spell it ("-12.5", "+3", "2.5e3"), read alike under
// every locale. A magnitude beyond a Double saturates at the largest Double of its sign;
// one too small for it is 0. A text that is no number is 0.
double DecimalValue(std::string_view digits);
// The leading number of a text ("12abc" -> 12, " -3.5" -> -3.5, "abc" -> 0); "." only, and
// an exponent when digits follow it ("1e3" -> 1000), as the game's files may write one.
double Val(std::wstring_view text);
// True when the whole text (blanks around it allowed) is one number.
bool IsNumeric(std::wstring_view text);
// Plain decimal text of a number, at most 15 significant digits, "." as decimal point,
// no exponent for the magnitudes a game holds ("20.5", "-3", "0.1").
std::wstring NumText(double x);
// As NumText, but a number that is not negative gets a leading blank in place of a plus
// sign, which is how the game's own number-to-text routine writes it (2 -> " 2").
std::wstring StrNum(double x);

}  // namespace morvath
