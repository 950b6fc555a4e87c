// Copies the game folder's sources (UTF-8, any line ends) into the runnable game folder:
// text files become Windows-1251 with CRLF line ends, everything else is copied as it is.
// Files that did not change are left alone so that the build stays quick.
#include <cstdio>
#include <set>
#include <string>

#include "platform/cp1251.h"
#include "platform/files.h"

using namespace morvath;

namespace {

bool IsTextFile(const fs::path& p) {
    static const std::set<std::string> binary = {".bmp", ".gif", ".jpg", ".png", ".mid", ".uni", ".sf2", ".ico"};
    std::string ext = p.extension().string();
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return !binary.count(ext);
}

}  // namespace

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
        if (IsTextFile(rel)) {
            std::wstring text = FromUtf8(content);
            for (wchar_t c : text) {
                if (c != L'\r' && c != L'\n' && c != L'\t' && UnicodeToCp1251(c) < 0) {
                    std::fprintf(stderr, "mkgame: %s has a character outside Windows-1251 (U+%04X)\n",
                                 rel.c_str(), static_cast<unsigned>(c));
                    ++failures;
                    break;
                }
            }
            content = ToCrlf(EncodeCp1251(text));
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
