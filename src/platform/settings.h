#pragma once
// The settings file: "[section]" lines, then "key=value" lines, cp1251 with CRLF (a UTF-8
// mark at its start is skipped, and kept).
// Section and key names match without regard to case and the first match wins; lines the
// game does not understand (comments, other sections) are kept when a key is written.
#include <string>

#include "platform/files.h"

namespace morvath {

// The value, or "" when the file, the section or the key is missing. The disk is never
// touched when the file does not exist. Values of 255 characters or more come back cut to
// their first 254, as the game has always read them.
std::wstring ReadIni(const std::wstring& section, const std::wstring& key, const fs::path& file);

// Writes key=value into the section; 1 when written, 0 when it could not be, or when the
// file does not exist and is not to be created (nothing is created then).
int WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
             const fs::path& file, bool create = false);

}  // namespace morvath
