#pragma once
// Writes the map archive that clsCompresion::ExtractAll unpacks. The game itself only reads
// archives; the build packs data/maps/ with this, and tests make their archives with it.
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace morvath {

struct MapArchiveEntry {
    std::wstring name;    // the file name the entry unpacks to
    std::string content;  // the file's bytes, as the game reads them
};

// The archive of these files in the given order, each coded by the game's encoder; an empty
// file gets an entry of size 0. Nothing when an entry cannot be stored (a name that is not a
// plain Windows-1251 file name of at most 255 bytes, too many entries, too large a file);
// the reasons go to `problems`.
std::optional<std::string> WriteMapArchive(const std::vector<MapArchiveEntry>& files,
                                           std::vector<std::string>* problems);

// The archive of every file in the folder, in name order, text files converted as they are
// for the game folder. A missing folder gives an archive of no entries; a subfolder is a
// problem, since entry names hold no path.
std::optional<std::string> PackMapFolder(const fs::path& folder, std::vector<std::string>* problems);

}  // namespace morvath
