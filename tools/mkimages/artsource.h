#pragma once
// The editable sources of the game's pictures: a palette key and text pixel art.
//
// Palette file: one colour a line, "<key character> <rrggbb> <name>"; "#" starts a comment.
// Picture source: the rows of the picture, one key character per pixel, every row as long as
// the first. Lines starting with "#" are comments. An optional line "base <name>" before the
// rows names another picture (its output name, e.g. "Images/tiles/imgGrass.bmp") of the same
// size; a "." in the rows then shows that picture's pixel. That is how characters and
// objects carry the ground they stand on while the ground itself is drawn once.
// An optional line "scale <n>" (1 to 8) enlarges the finished picture n times, each pixel
// becoming an n x n block: large decorative pictures keep the look and the small, editable
// source of the tiles.
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "picture.h"

namespace morvath::pictures {

class ArtError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Palette {
    std::vector<Rgb> colours;
    std::string keys;  // keys[i] names colours[i]
    int IndexOf(char key) const {
        auto pos = keys.find(key);
        return pos == std::string::npos ? -1 : static_cast<int>(pos);
    }
};

namespace detail {

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace detail

inline Palette ParsePalette(const std::string& text) {
    Palette pal;
    int lineNo = 0;
    for (const auto& line : detail::Lines(text)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string key, hex;
        in >> key >> hex;
        if (key.size() != 1 || hex.size() != 6 || key[0] == '.' || key[0] == '#')
            throw ArtError("palette line " + std::to_string(lineNo) + ": expected \"<key> <rrggbb> <name>\"");
        int v[6];
        for (int i = 0; i < 6; ++i)
            if ((v[i] = detail::HexDigit(hex[i])) < 0)
                throw ArtError("palette line " + std::to_string(lineNo) + ": bad colour " + hex);
        if (pal.IndexOf(key[0]) >= 0)
            throw ArtError("palette line " + std::to_string(lineNo) + ": key " + key + " used twice");
        pal.keys += key[0];
        pal.colours.push_back(Rgb{static_cast<std::uint8_t>(v[0] * 16 + v[1]), static_cast<std::uint8_t>(v[2] * 16 + v[3]),
                                  static_cast<std::uint8_t>(v[4] * 16 + v[5])});
    }
    if (pal.colours.empty() || pal.colours.size() > 256) throw ArtError("palette must hold 1 to 256 colours");
    return pal;
}

// One picture source as written: the base it names (or nothing) and its rows.
struct ArtSource {
    std::string base;
    int scale = 1;
    std::vector<std::string> rows;
};

inline ArtSource ParseArtSource(const std::string& text) {
    ArtSource src;
    for (const auto& line : detail::Lines(text)) {
        if (line.empty() || line[0] == '#') continue;
        if (src.rows.empty() && line.rfind("base ", 0) == 0) {
            if (!src.base.empty()) throw ArtError("two base lines");
            src.base = line.substr(5);
            if (src.base.empty()) throw ArtError("base line names nothing");
            continue;
        }
        if (src.rows.empty() && line.rfind("scale ", 0) == 0) {
            std::string n = line.substr(6);
            if (n.size() != 1 || n[0] < '1' || n[0] > '8') throw ArtError("scale must be 1 to 8");
            src.scale = n[0] - '0';
            continue;
        }
        if (!src.rows.empty() && line.size() != src.rows[0].size())
            throw ArtError("row " + std::to_string(src.rows.size() + 1) + " is " + std::to_string(line.size()) +
                           " pixels wide, the first row " + std::to_string(src.rows[0].size()));
        src.rows.push_back(line);
    }
    if (src.rows.empty()) throw ArtError("no pixel rows");
    return src;
}

inline Picture Enlarge(const Picture& pic, int n) {
    Picture big{pic.width * n, pic.height * n, {}};
    big.index.reserve(static_cast<size_t>(big.width) * big.height);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x) big.index.push_back(pic.at(x / n, y / n));
    return big;
}

// Turns a source into palette indices. `loadBase` returns the finished picture of a base name;
// the caller guards against sources that name each other in a circle.
inline Picture Render(const ArtSource& src, const Palette& pal, const std::function<Picture(const std::string&)>& loadBase) {
    Picture pic;
    pic.width = static_cast<int>(src.rows[0].size());
    pic.height = static_cast<int>(src.rows.size());
    pic.index.resize(static_cast<size_t>(pic.width) * pic.height);
    Picture base;
    if (!src.base.empty()) {
        base = loadBase(src.base);
        if (base.width != pic.width || base.height != pic.height)
            throw ArtError("base " + src.base + " is " + std::to_string(base.width) + "x" + std::to_string(base.height) +
                           ", this picture " + std::to_string(pic.width) + "x" + std::to_string(pic.height));
    }
    for (int y = 0; y < pic.height; ++y) {
        for (int x = 0; x < pic.width; ++x) {
            char c = src.rows[y][x];
            int i;
            if (c == '.' && !src.base.empty()) {
                i = base.at(x, y);
            } else if ((i = pal.IndexOf(c)) < 0) {
                throw ArtError("row " + std::to_string(y + 1) + " column " + std::to_string(x + 1) + ": '" +
                               std::string(1, c) + "' is not a palette key");
            }
            pic.index[static_cast<size_t>(y) * pic.width + x] = static_cast<std::uint8_t>(i);
        }
    }
    return src.scale == 1 ? pic : Enlarge(pic, src.scale);
}

// Renders every source of a set by name, each once, following bases; sources that name each
// other in a circle are an error rather than endless recursion.
class ArtSet {
public:
    ArtSet(Palette pal, std::function<std::string(const std::string&)> readSource)
        : pal_(std::move(pal)), read_(std::move(readSource)) {}

    const Picture& Get(const std::string& name) {
        if (auto it = done_.find(name); it != done_.end()) return it->second;
        if (!busy_.insert(name).second) throw ArtError(name + ": its base leads back to itself");
        Picture pic;
        try {
            pic = Render(ParseArtSource(read_(name)), pal_, [this](const std::string& b) { return Get(b); });
        } catch (const ArtError& e) {
            busy_.erase(name);
            std::string what = e.what();
            throw ArtError(what.rfind(name + ":", 0) == 0 ? what : name + ": " + what);
        }
        busy_.erase(name);
        return done_.emplace(name, std::move(pic)).first->second;
    }
    const Palette& palette() const { return pal_; }

private:
    Palette pal_;
    std::function<std::string(const std::string&)> read_;
    std::map<std::string, Picture> done_;
    std::set<std::string> busy_;
};

// The file format follows the name: ".gif" gives GIF, everything else BMP.
inline std::string EncodeFor(const std::string& name, const Picture& pic, const Palette& pal) {
    auto dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".gif" ? EncodeGif(pic, pal.colours) : EncodeBmp(pic, pal.colours);
}

}  // namespace morvath::pictures
