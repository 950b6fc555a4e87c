#pragma once
// The settings file: "[section]" lines, then "key=value" lines, cp1251 with CRLF.
// Section and key names match without regard to case and the first match wins; lines the
// game does not understand (comments, other sections) are kept when a key is written.
#include <string>

#include "platform/files.h"

namespace morvath {

// The value, or "" when the file, the section or the key is missing. The disk is never
// touched when the file does not exist. Values of 255 characters or more come back cut to
// their first 254, as the game has always read them.
std::wstring ReadIni(const std::wstring& section, const std::wstring& key, const fs::path& file);

// Writes key=value into the section; 1 when written, 0 when the file does not exist
// (nothing is created).
int WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
             const fs::path& file);

}  // namespace morvath
