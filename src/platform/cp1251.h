#pragma once
// Text on disk is Windows-1251 (one byte per character); text in memory is std::wstring,
// one wchar_t per character, so that a map row's n-th tile is simply row[n - 1].
#include <string>
#include <string_view>

namespace morvath {

wchar_t Cp1251ToUnicode(unsigned char b);
// The byte for a character, or -1 when the code page has none.
int UnicodeToCp1251(wchar_t c);

std::wstring DecodeCp1251(std::string_view bytes);
// Characters outside the code page are written as "?".
std::string EncodeCp1251(std::wstring_view text);

// Lower case by the game's own table, the same under every locale: Latin, Latin-1 and
// Cyrillic letters (Ё and the other letters of the code page among them).
wchar_t LowerLetter(wchar_t c);
std::wstring LowerText(std::wstring_view s);

std::wstring FromUtf8(std::string_view s);
std::string ToUtf8(std::wstring_view s);

// Every line end (LF, CR or CRLF) becomes CRLF.
std::string ToCrlf(std::string_view text);

}  // namespace morvath
