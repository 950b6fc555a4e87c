// Draws the game's pictures from their text sources: every "<name>.txt" below the art folder
// (except the palette) becomes "<name>" in the game folder, a GIF or BMP as the name says.
// Every output is written on each run, changed or not: the build tracks each output's time
// against the sources, and a skipped file would look stale for ever.
#include <cstdio>

#include "artsource.h"
#include "platform/files.h"

using namespace morvath;
using namespace morvath::pictures;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkimages <art folder> <game folder>\n");
        return 2;
    }
    const fs::path art = argv[1], game = argv[2];
    auto paletteText = ReadBytes(art / "palette.txt");
    if (!paletteText) {
        std::fprintf(stderr, "mkimages: cannot read %s\n", (art / "palette.txt").c_str());
        return 1;
    }
    int failures = 0;
    try {
        ArtSet set(ParsePalette(*paletteText), [&](const std::string& name) {
            auto text = ReadBytes(art / (name + ".txt"));
            if (!text) throw ArtError("no source " + (art / (name + ".txt")).string());
            return *text;
        });
        for (const auto& entry : fs::recursive_directory_iterator(art)) {
            const fs::path& p = entry.path();
            if (!entry.is_regular_file() || p.extension() != ".txt" || p == art / "palette.txt") continue;
            std::string name = fs::relative(p, art).replace_extension().generic_string();
            try {
                std::string bytes = EncodeFor(name, set.Get(name), set.palette());
                fs::path out = game / name;
                std::error_code ec;
                fs::create_directories(out.parent_path(), ec);
                if (!WriteFileAtomic(out, bytes)) {
                    std::fprintf(stderr, "mkimages: cannot write %s\n", out.c_str());
                    ++failures;
                }
            } catch (const ArtError& e) {
                std::fprintf(stderr, "mkimages: %s\n", e.what());
                ++failures;
            }
        }
    } catch (const ArtError& e) {
        std::fprintf(stderr, "mkimages: palette: %s\n", e.what());
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
