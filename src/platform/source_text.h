#pragma once
// The game folder's sources are kept as UTF-8 text with LF line ends, easy to edit and diff;
// the game reads Windows-1251 with CRLF. Every build step that copies or packs source text
// converts it here, so the game folder and the map archive hold the same bytes for a file.
#include <string>
#include <string_view>

#include "platform/files.h"

namespace morvath {

// Whether a source file is text to convert (pictures, tunes and archives are copied as they are).
bool IsSourceTextFile(const fs::path& p);

// The bytes the game reads for a UTF-8 source text. A character the code page lacks becomes
// "?" and the first such character is reported through `unsupported` (0 when there is none).
std::string SourceTextToGame(std::string_view utf8, wchar_t* unsupported);

}  // namespace morvath
