// Copies the game folder's sources (UTF-8, any line ends) into the runnable game folder:
// text files become Windows-1251 with CRLF line ends, everything else is copied as it is.
// Files that did not change are left alone so that the build stays quick.
#include <cstdio>
#include <string>

#include "platform/files.h"
#include "platform/source_text.h"

using namespace morvath;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkgame <source folder> <game folder>\n");
        return 2;
    }
    fs::path src = argv[1], dst = argv[2];
    std::error_code ec;
    fs::create_directories(dst, ec);
    if (!fs::is_directory(src)) return 0;
    int failures = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        fs::path rel = fs::relative(entry.path(), src);
        fs::path out = dst / rel;
        if (entry.is_directory()) {
            fs::create_directories(out, ec);
            continue;
        }
        if (rel.filename() == ".keep") continue;
        auto bytes = ReadBytes(entry.path());
        if (!bytes) {
            std::fprintf(stderr, "mkgame: cannot read %s\n", entry.path().c_str());
            ++failures;
            continue;
        }
        std::string content = *bytes;
        if (IsSourceTextFile(rel)) {
            wchar_t bad = 0;
            content = SourceTextToGame(content, &bad);
            if (bad != 0) {
                std::fprintf(stderr, "mkgame: %s has a character outside Windows-1251 (U+%04X)\n",
                             rel.c_str(), static_cast<unsigned>(bad));
                ++failures;
            }
        }
        auto old = ReadBytes(out);
        if (old && *old == content) continue;
        if (!WriteFileAtomic(out, content)) {
            std::fprintf(stderr, "mkgame: cannot write %s\n", out.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
