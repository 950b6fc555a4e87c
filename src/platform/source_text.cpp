#include "platform/source_text.h"

#include <set>

#include "platform/cp1251.h"

namespace morvath {

bool IsSourceTextFile(const fs::path& p) {
    static const std::set<std::string> binary = {".bmp", ".gif", ".jpg", ".png", ".mid", ".uni", ".sf2", ".ico"};
    std::string ext = p.extension().string();
    for (auto& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return !binary.count(ext);
}

std::string SourceTextToGame(std::string_view utf8, wchar_t* unsupported) {
    std::wstring text = FromUtf8(utf8);
    if (unsupported) {
        *unsupported = 0;
        for (wchar_t c : text) {
            if (UnicodeToCp1251(c) < 0) {
                *unsupported = c;
                break;
            }
        }
    }
    return ToCrlf(EncodeCp1251(text));
}

}  // namespace morvath
