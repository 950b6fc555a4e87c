// Packs a folder of location files into the map archive the game unpacks at every new game.
// Text files are converted to the game's Windows-1251 with CRLF first, as for the game folder.
#include <cstdio>

#include "platform/files.h"
#include "services/map_archive.h"

using namespace morvath;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: packmaps <folder of location files> <archive>\n");
        return 2;
    }
    std::vector<std::string> problems;
    auto archive = PackMapFolder(argv[1], &problems);
    for (const auto& p : problems) std::fprintf(stderr, "packmaps: %s\n", p.c_str());
    if (!archive) return 1;
    if (!WriteFileAtomic(argv[2], *archive)) {
        std::fprintf(stderr, "packmaps: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
