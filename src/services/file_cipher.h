#pragma once
// Deciphering and enciphering a file in place with the hall-of-fame cipher (clsCrypto) and
// the game's fixed pass phrase.
//
// The file is only ever replaced whole, through a temporary file and a rename: a failure at
// any point leaves it exactly as it was. A result that is empty removes the file.
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace morvath {

// The one pass phrase of the hall-of-fame file, the same for both directions.
inline constexpr std::wstring_view kFilePassPhrase =
    L"Black Rain sleeps under the Ural stone. 17 princes & 12 warlocks rode north - none came home. Keep-faith.";

// The plain text of enciphered bytes; nothing when they are not enciphered with the pass
// phrase or are damaged. The cipher says nothing: the caller tells the player in the game's
// own words what became of the file.
std::optional<std::string> DecryptText(std::string_view enciphered);
// The enciphered form of a text; nothing when it fails (the cipher says nothing either).
std::optional<std::string> EncryptText(std::string_view plain);

// Replaces the file's content by its plain text. False (and the file untouched) when it is
// missing, unreadable, not enciphered with the pass phrase, damaged, or cannot be replaced;
// the cipher has then already told the player about its own failures.
bool DecryptFileInPlace(const fs::path& path);
// Replaces the file's content by its enciphered form; false, and the file untouched, on any
// failure.
bool EncryptFileInPlace(const fs::path& path);

}  // namespace morvath
