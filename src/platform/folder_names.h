#pragma once
// Finding a name in a folder without regard to case, at a cost that does not grow with the
// folder. A folder is listed once; from then on the operating system reports every name
// created, renamed or removed in it, by this process or any other, and the list follows.
// Where the system cannot report them (no notification left to this user), every look-up
// lists the folder again: slower, never wrong.
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace morvath {

// The name of the entry (file or folder) of `folder` that matches `name` without regard to
// case; nothing when none does or the folder cannot be read. When several names differ only
// in case, the one first in byte order.
std::optional<std::string> FindNameInFolder(const fs::path& folder, std::wstring_view name);

}  // namespace morvath
