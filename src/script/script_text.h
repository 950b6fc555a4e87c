#pragma once
// Text and number conversions of the script language, shared by the interpreter, its
// commands and the story code.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace morvath {

// Blanks only: a tab is not a blank to the script language.
std::wstring_view TrimBlanks(std::wstring_view s);
// Lower case as the player's system writes it: Latin, Latin-1 and Cyrillic letters.
std::wstring LCase(std::wstring_view s);
wchar_t LowerChar(wchar_t c);
// Case-blind comparison of ASCII keywords ("end", "else", command names).
bool EqualsAsciiNoCase(std::wstring_view s, std::wstring_view lowerKeyword);

// A script value as text (numbers in the game's plain decimal form, "." as decimal point).
std::wstring ValueText(const Variant& v);
// A text as a number, the way scripts read them: blanks anywhere are skipped, a sign and
// one "." are taken, and reading stops at any other character (no exponent: "2e1" is 2).
// A text without a number is 0.
double ScriptNumber(std::wstring_view s);
// A script value as a number: a text by ScriptNumber, nothing as 0.
double ValueNumber(const Variant& v);

// Strict conversions, which fail (nothing) on a text that is not wholly a number. Stores into
// 16- and 32-bit fields round halves to even and saturate at the field's range.
std::optional<double> StrictNumber(std::wstring_view s);
std::optional<std::int16_t> StrictInteger(std::wstring_view s);
std::optional<std::int32_t> StrictLong(std::wstring_view s);

}  // namespace morvath
