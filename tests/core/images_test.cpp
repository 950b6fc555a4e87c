// The picture maker's file writers and source reader, and the pictures it put in the game
// folder: each one the game asks for, in the format its name says, 32 x 32, in our palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "../../tools/mkimages/artsource.h"
#include "platform/files.h"

using namespace morvath;
using namespace morvath::pictures;

namespace {

// ---- small independent readers, so the writers are checked against the formats, not themselves ----

struct Decoded {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // row by row from the top
    std::vector<Rgb> table;   // GIF colour table
};

unsigned Get16(const std::string& s, size_t at) {
    return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}
std::uint32_t Get32(const std::string& s, size_t at) { return Get16(s, at) | static_cast<std::uint32_t>(Get16(s, at + 2)) << 16; }

std::optional<Decoded> DecodeBmp(const std::string& s) {
    if (s.size() < 54 || s.compare(0, 2, "BM") != 0) return std::nullopt;
    if (Get32(s, 14) < 40 || Get16(s, 28) != 24 || Get32(s, 30) != 0) return std::nullopt;
    Decoded d;
    d.width = static_cast<int>(Get32(s, 18));
    auto h = static_cast<std::int32_t>(Get32(s, 22));
    d.height = h < 0 ? -h : h;
    size_t offset = Get32(s, 10), stride = (static_cast<size_t>(d.width) * 3 + 3) & ~size_t{3};
    if (d.width <= 0 || offset + stride * d.height > s.size()) return std::nullopt;
    for (int y = 0; y < d.height; ++y) {
        size_t row = offset + stride * (h < 0 ? y : d.height - 1 - y);
        for (int x = 0; x < d.width; ++x) {
            size_t p = row + 3 * x;
            d.pixels.push_back(Rgb{static_cast<std::uint8_t>(s[p + 2]), static_cast<std::uint8_t>(s[p + 1]), static_cast<std::uint8_t>(s[p])});
        }
    }
    return d;
}

std::optional<Decoded> DecodeGif(const std::string& s) {
    if (s.size() < 13 || (s.compare(0, 6, "GIF89a") != 0 && s.compare(0, 6, "GIF87a") != 0)) return std::nullopt;
    Decoded d;
    unsigned flags = static_cast<unsigned char>(s[10]);
    size_t at = 13;
    auto readTable = [&](unsigned bits) {
        d.table.clear();
        for (unsigned i = 0; i < (1u << bits) && at + 2 < s.size(); ++i, at += 3)
            d.table.push_back(Rgb{static_cast<std::uint8_t>(s[at]), static_cast<std::uint8_t>(s[at + 1]), static_cast<std::uint8_t>(s[at + 2])});
    };
    if (flags & 0x80) readTable((flags & 7) + 1);
    while (at < s.size() && s[at] == '!') {  // extensions: skip their sub-blocks
        at += 2;
        while (at < s.size() && s[at] != 0) at += 1 + static_cast<unsigned char>(s[at]);
        ++at;
    }
    if (at + 10 > s.size() || s[at] != ',') return std::nullopt;
    d.width = static_cast<int>(Get16(s, at + 5));
    d.height = static_cast<int>(Get16(s, at + 7));
    unsigned imgFlags = static_cast<unsigned char>(s[at + 9]);
    at += 10;
    if (imgFlags & 0x40) return std::nullopt;  // interlacing: never written by us
    if (imgFlags & 0x80) readTable((imgFlags & 7) + 1);
    if (at >= s.size()) return std::nullopt;
    const int minBits = static_cast<unsigned char>(s[at++]);
    if (minBits < 2 || minBits > 8) return std::nullopt;
    std::string data;
    while (at < s.size() && s[at] != 0) {
        size_t n = static_cast<unsigned char>(s[at]);
        if (at + 1 + n > s.size()) return std::nullopt;
        data.append(s, at + 1, n);
        at += 1 + n;
    }
    if (at + 1 >= s.size() || s[at + 1] != ';') return std::nullopt;

    const unsigned clear = 1u << minBits, endCode = clear + 1;
    std::vector<std::vector<std::uint8_t>> dict;
    auto reset = [&] {
        dict.assign(endCode + 1, {});
        for (unsigned i = 0; i < clear; ++i) dict[i] = {static_cast<std::uint8_t>(i)};
    };
    reset();
    int bits = minBits + 1;
    size_t bitPos = 0;
    int prev = -1;
    std::vector<std::uint8_t> out;
    for (;;) {
        if (bitPos + bits > data.size() * 8) return std::nullopt;  // ran out before the end code
        unsigned code = 0;
        for (int i = 0; i < bits; ++i, ++bitPos)
            code |= ((static_cast<unsigned char>(data[bitPos / 8]) >> (bitPos % 8)) & 1u) << i;
        if (code == clear) {
            reset();
            bits = minBits + 1;
            prev = -1;
            continue;
        }
        if (code == endCode) break;
        std::vector<std::uint8_t> entry;
        if (code < dict.size() && code != clear && code != endCode) {
            entry = dict[code];
        } else if (code == dict.size() && prev >= 0) {
            entry = dict[prev];
            entry.push_back(dict[prev][0]);
        } else {
            return std::nullopt;
        }
        if (prev >= 0 && dict.size() < 4096) {
            auto added = dict[prev];
            added.push_back(entry[0]);
            dict.push_back(added);
            if (dict.size() == (1u << bits) && bits < 12) ++bits;
        }
        out.insert(out.end(), entry.begin(), entry.end());
        prev = static_cast<int>(code);
    }
    if (out.size() != static_cast<size_t>(d.width) * d.height) return std::nullopt;
    for (auto i : out) {
        if (i >= d.table.size()) return std::nullopt;
        d.pixels.push_back(d.table[i]);
    }
    return d;
}

std::optional<Decoded> DecodeAny(const std::string& bytes) {
    if (bytes.compare(0, 3, "GIF") == 0) return DecodeGif(bytes);
    return DecodeBmp(bytes);
}

std::vector<Rgb> Colours(const Picture& pic, const std::vector<Rgb>& pal) {
    std::vector<Rgb> out;
    for (auto i : pic.index) out.push_back(pal[i]);
    return out;
}

// A picture with long runs and busy stretches, so that the coder meets both deep codes and
// a full table.
Picture Pattern(int w, int h, int colours, unsigned seed) {
    Picture p{w, h, {}};
    unsigned v = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            v = v * 1103515245u + 12345u;
            bool busy = (y / 7) % 2 == 1;
            p.index.push_back(static_cast<std::uint8_t>(busy ? (v >> 16) % colours : (x / 9 + y / 5) % colours));
        }
    return p;
}

std::vector<Rgb> Greys(int n) {
    std::vector<Rgb> pal;
    for (int i = 0; i < n; ++i) pal.push_back(Rgb{static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3)});
    return pal;
}

}  // namespace

TEST(PictureWriters, BmpRowsArePaddedAndBottomUp) {
    Picture pic{5, 3, {0, 1, 2, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 0}};
    auto pal = Greys(3);
    std::string bmp = EncodeBmp(pic, pal);
    EXPECT_EQ(bmp.size(), 54u + 16u * 3u);  // 5 pixels of 3 bytes padded to 16
    EXPECT_EQ(Get32(bmp, 2), bmp.size());
    // the first stored row is the bottom one
    EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 2]), pal[2].r);
    auto d = DecodeBmp(bmp);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->width, 5);
    EXPECT_EQ(d->height, 3);
    EXPECT_EQ(d->pixels, Colours(pic, pal));
}

TEST(PictureWriters, GifDecodesBackToTheSamePixels) {
    struct Case {
        int w, h, colours;
    };
    // 2 colours use the smallest code size; 3 pad the table; 300 x 200 fills the code table
    // several times over, so the coder must clear and start again in step with the reader.
    for (Case c : {Case{1, 1, 1}, Case{32, 32, 32}, Case{7, 5, 2}, Case{33, 9, 3}, Case{300, 200, 32}, Case{256, 256, 256}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " " + std::to_string(c.colours));
        Picture pic = Pattern(c.w, c.h, c.colours, 7u + c.w);
        auto pal = Greys(c.colours);
        std::string gif = EncodeGif(pic, pal);
        EXPECT_EQ(gif.compare(0, 6, "GIF89a"), 0);
        auto d = DecodeGif(gif);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->width, c.w);
        EXPECT_EQ(d->height, c.h);
        EXPECT_EQ(d->pixels, Colours(pic, pal));
    }
}

TEST(PictureWriters, GifOfOneColourCompressesItsRuns) {
    Picture pic{64, 64, std::vector<std::uint8_t>(64 * 64, 1)};
    std::string gif = EncodeGif(pic, Greys(4));
    EXPECT_LT(gif.size(), 400u);
    auto d = DecodeGif(gif);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->pixels, std::vector<Rgb>(64 * 64, Greys(4)[1]));
}

TEST(PictureWriters, RejectBadPictures) {
    auto pal = Greys(2);
    EXPECT_THROW(EncodeBmp(Picture{2, 2, {0, 1, 2, 0}}, pal), std::invalid_argument);  // pixel outside the palette
    EXPECT_THROW(EncodeGif(Picture{2, 2, {0, 1, 1}}, pal), std::invalid_argument);     // too few pixels
    EXPECT_THROW(EncodeGif(Picture{0, 0, {}}, pal), std::invalid_argument);
    EXPECT_THROW(EncodeBmp(Picture{1, 1, {0}}, {}), std::invalid_argument);
}

TEST(ArtSources, PaletteKeysAndErrors) {
    Palette pal = ParsePalette("# key colour name\nk 000000 black\nw FFffff white\n\nr ac3232 red\n");
    EXPECT_EQ(pal.keys, "kwr");
    EXPECT_EQ(pal.colours[1], (Rgb{255, 255, 255}));
    EXPECT_EQ(pal.colours[2], (Rgb{0xac, 0x32, 0x32}));
    EXPECT_EQ(pal.IndexOf('r'), 2);
    EXPECT_EQ(pal.IndexOf('x'), -1);
    EXPECT_THROW(ParsePalette("k 000000\nk 111111\n"), ArtError);  // one key twice
    EXPECT_THROW(ParsePalette("k 00000g\n"), ArtError);
    EXPECT_THROW(ParsePalette(". 000000 the base marker\n"), ArtError);
    EXPECT_THROW(ParsePalette("# nothing\n"), ArtError);
}

TEST(ArtSources, BaseShowsThroughDots) {
    Palette pal = ParsePalette("k 000000 black\nw ffffff white\ng 00ff00 green\n");
    std::map<std::string, std::string> files = {
        {"ground.bmp", "# grass\r\ngg\r\ngk\r\n"},
        {"thing.bmp", "base ground.bmp\nw.\n.w\n"},
    };
    ArtSet set(pal, [&](const std::string& n) { return files.at(n); });
    const Picture& p = set.Get("thing.bmp");
    EXPECT_EQ(p.index, (std::vector<std::uint8_t>{1, 2, 2, 1}));
    EXPECT_EQ(set.Get("ground.bmp").index, (std::vector<std::uint8_t>{2, 2, 2, 0}));
}

TEST(ArtSources, ScaleEnlargesEachPixelToABlock) {
    Palette pal = ParsePalette("k 000000 black\nw ffffff white\n");
    Picture p = Render(ParseArtSource("# two by one, three times\nscale 3\nkw\n"), pal, nullptr);
    EXPECT_EQ(p.width, 6);
    EXPECT_EQ(p.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(p.at(x, y), x < 3 ? 0 : 1) << x << "," << y;
    EXPECT_THROW(ParseArtSource("scale 9\nk\n"), ArtError);
    EXPECT_THROW(ParseArtSource("scale 0\nk\n"), ArtError);
}

TEST(ArtSources, MistakesAreReportedWithTheirPlace) {
    Palette pal = ParsePalette("k 000000 black\nw ffffff white\n");
    std::map<std::string, std::string> files = {
        {"ragged", "kw\nk\n"},
        {"stranger", "kw\nkq\n"},
        {"dot-without-base", "k.\nkk\n"},
        {"small", "k\n"},
        {"on-small", "base small\nkk\nkk\n"},
        {"a", "base b\nk\n"},
        {"b", "base a\nk\n"},
        {"empty", "# only a comment\n"},
        {"on-missing", "base nowhere\nk\n"},
    };
    ArtSet set(pal, [&](const std::string& n) {
        auto it = files.find(n);
        if (it == files.end()) throw ArtError("no source " + n);
        return it->second;
    });
    auto message = [&](const std::string& name) -> std::string {
        try {
            set.Get(name);
        } catch (const ArtError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_NE(message("ragged").find("row 2"), std::string::npos);
    EXPECT_NE(message("stranger").find("row 2 column 2"), std::string::npos);
    EXPECT_NE(message("dot-without-base").find("'.' is not a palette key"), std::string::npos);
    EXPECT_NE(message("on-small").find("base small is 1x1"), std::string::npos);
    EXPECT_NE(message("a").find("leads back to itself"), std::string::npos);
    EXPECT_NE(message("empty").find("no pixel rows"), std::string::npos);
    EXPECT_NE(message("on-missing").find("no source nowhere"), std::string::npos);
    // a failed picture is not remembered as done: asking again reports again
    EXPECT_NE(message("a").find("leads back to itself"), std::string::npos);
}

TEST(ArtSources, FormatFollowsTheName) {
    Palette pal = ParsePalette("k 000000 black\nw ffffff white\n");
    Picture p{1, 1, {1}};
    EXPECT_EQ(EncodeFor("Images/spider/p1.gif", p, pal).compare(0, 3, "GIF"), 0);
    EXPECT_EQ(EncodeFor("Images/CASTLE.GIF", p, pal).compare(0, 3, "GIF"), 0);
    EXPECT_EQ(EncodeFor("Images/n1.bmp", p, pal).compare(0, 2, "BM"), 0);
}

// ---- the pictures in the built game folder ----
namespace {

const std::array<Rgb, 32> kPalette = {{
    {0x00, 0x00, 0x00}, {0x22, 0x20, 0x34}, {0x45, 0x28, 0x3c}, {0x66, 0x39, 0x31}, {0x8f, 0x56, 0x3b}, {0xdf, 0x71, 0x26},
    {0xd9, 0xa0, 0x66}, {0xee, 0xc3, 0x9a}, {0xfb, 0xf2, 0x36}, {0x99, 0xe5, 0x50}, {0x6a, 0xbe, 0x30}, {0x37, 0x94, 0x6e},
    {0x4b, 0x69, 0x2f}, {0x52, 0x4b, 0x24}, {0x32, 0x3c, 0x39}, {0x3f, 0x3f, 0x74}, {0x30, 0x60, 0x82}, {0x5b, 0x6e, 0xe1},
    {0x63, 0x9b, 0xff}, {0x5f, 0xcd, 0xe4}, {0xcb, 0xdb, 0xfc}, {0xff, 0xff, 0xff}, {0x9b, 0xad, 0xb7}, {0x84, 0x7e, 0x87},
    {0x69, 0x6a, 0x6a}, {0x59, 0x56, 0x52}, {0x76, 0x42, 0x8a}, {0xac, 0x32, 0x32}, {0xd9, 0x57, 0x63}, {0xd7, 0x7b, 0xba},
    {0x8f, 0x97, 0x4a}, {0x8a, 0x6f, 0x30},
}};

// Pictures the painters, the hero routines, the spells and the archery load by file name.
std::vector<std::string> FilePictures() {
    std::vector<std::string> names;
    for (const char* n : {"penek", "chicken", "dog", "in1", "in2", "meal", "fish", "uman", "volk", "orc", "berendei", "orc2", "bwolf",
                          "fire", "alchem", "trief", "weapon2", "dom1-4", "dom1-5", "dom1-6", "cooks", "naga", "mongol", "village",
                          "shaht", "city", "const", "crest"})
        names.push_back(std::string("Images/") + n + ".bmp");
    names.push_back("Images/upstairs.gif");
    names.push_back("Images/castle.gif");
    for (int i = 1; i <= 4; ++i) {
        for (const char* stem : {"Images/n", "Images/m", "Images/oh", "Images/fireball", "Images/a", "Images/sheep/s", "Images/tvar/t"})
            names.push_back(stem + std::to_string(i) + ".bmp");
        names.push_back("Images/spider/p" + std::to_string(i) + ".gif");
    }
    return names;
}

// Pictures the game screen holds in its named image controls, one file per control name.
const std::vector<std::string> kControls = {
    "imgGrass", "imgBush", "imgWeed", "imgSign", "imgTower", "imgTOL", "imgBOL", "imgTOR", "imgBOR", "ImgIL", "ImgIR", "ImgIT",
    "ImgIB", "ImgTIL", "ImgTIR", "ImgBIL", "ImgBIR", "ImgTIL3", "ImgTIR3", "ImgBIL3", "ImgBIR3", "ImgIL3", "ImgIR3", "ImgIT3",
    "ImgIB3", "imgCave", "imgCaveWall", "imgCaveDoor", "imgCaveStairs", "imgMountain", "imgMountain2", "imgFlower", "ImgBlack",
    "imgNothing", "imgWallBottom", "imgWallTop", "imgWall2", "imgFloor1", "imgBlueTop", "imgRedTop", "imgWindow1", "imgDoor1",
    "imgJar", "imgTable1", "imgTable2", "imgBed1", "imgBed2", "imgHouseExit", "imgHouseExitB1", "imgHouseExitB2", "ImgW", "ImgW2",
    "ImgM", "imgForest", "imgbushw", "imgLotok", "imgCharWomen1", "imgCharWomen2", "imgCharWomen3", "imgCharBoy1", "imgCharBoy2",
    "imgCharGoodWizard", "imgCharBadWizard", "imgCharSoldier", "ImgWar1", "imgVolhv", "imgRedMonk", "imgBear", "imgSkel", "imgKgt",
    "Item", "imgUpChar", "imgDownChar", "imgLeftChar", "imgRightChar", "imgAssasin"};

void ExpectPaletteOnly(const Decoded& d) {
    for (const auto& px : d.pixels) {
        if (std::find(kPalette.begin(), kPalette.end(), px) == kPalette.end()) {
            ADD_FAILURE() << "colour outside the palette: " << int(px.r) << "," << int(px.g) << "," << int(px.b);
            return;
        }
    }
}

std::optional<Decoded> LoadGamePicture(const std::string& name) {
    auto bytes = ReadBytes(fs::path(MORVATH_GAME_DIR) / name);
    if (!bytes) return std::nullopt;
    return DecodeAny(*bytes);
}

}  // namespace

TEST(GamePictures, EveryPictureIsThereInItsFormatSizeAndPalette) {
    std::vector<std::string> all = FilePictures();
    EXPECT_EQ(all.size(), 62u);  // n2.bmp is both the warlock facing right and the tile f
    for (const auto& c : kControls) all.push_back("Images/tiles/" + c + ".bmp");
    std::set<std::string> unique(all.begin(), all.end());
    EXPECT_EQ(unique.size(), 62u + 76u);
    for (const auto& name : unique) {
        SCOPED_TRACE(name);
        auto bytes = ReadBytes(fs::path(MORVATH_GAME_DIR) / name);
        ASSERT_TRUE(bytes) << "missing";
        bool gif = name.size() > 4 && name.compare(name.size() - 4, 4, ".gif") == 0;
        EXPECT_EQ(bytes->compare(0, gif ? 3 : 2, gif ? "GIF" : "BM"), 0) << "wrong format for its name";
        auto d = DecodeAny(*bytes);
        ASSERT_TRUE(d) << "cannot be decoded";
        EXPECT_EQ(d->width, 32);
        EXPECT_EQ(d->height, 32);
        ExpectPaletteOnly(*d);
    }
}

TEST(GamePictures, DecorativePicturesHaveTheirDocumentedSize) {
    for (const char* name : {"Images/ui/Image1.bmp", "Images/ui/viewer.bmp"}) {
        auto d = LoadGamePicture(name);
        ASSERT_TRUE(d) << name;
        EXPECT_EQ(d->width, 128) << name;
        EXPECT_EQ(d->height, 128) << name;
        ExpectPaletteOnly(*d);
    }
}

TEST(GamePictures, AnimationsAndDirectionsAreDistinctPictures) {
    auto pixelsOf = [](const std::string& name) {
        auto d = LoadGamePicture(name);
        return d ? d->pixels : std::vector<Rgb>{};
    };
    auto expectDistinct = [&](const std::vector<std::string>& names) {
        std::set<std::vector<std::uint8_t>> seen;
        for (const auto& n : names) {
            auto px = pixelsOf(n);
            ASSERT_FALSE(px.empty()) << n;
            std::vector<std::uint8_t> flat;
            for (auto c : px) flat.insert(flat.end(), {c.r, c.g, c.b});
            EXPECT_TRUE(seen.insert(flat).second) << n << " repeats an earlier picture of its set";
        }
    };
    for (const char* set : {"Images/sheep/s%.bmp", "Images/spider/p%.gif", "Images/tvar/t%.bmp", "Images/n%.bmp", "Images/m%.bmp",
                            "Images/oh%.bmp", "Images/fireball%.bmp", "Images/a%.bmp"}) {
        std::vector<std::string> names;
        for (char i = '1'; i <= '4'; ++i) {
            std::string n = set;
            n[n.find('%')] = i;
            names.push_back(n);
        }
        expectDistinct(names);
    }
    expectDistinct({"Images/tiles/imgUpChar.bmp", "Images/tiles/imgDownChar.bmp", "Images/tiles/imgLeftChar.bmp",
                    "Images/tiles/imgRightChar.bmp"});
}

TEST(GamePictures, CharactersStandOnTheGround) {
    // Pictures are painted without transparency, so people and monsters carry the ground
    // tile around them: their corners are the ground's own pixels.
    auto ground = LoadGamePicture("Images/tiles/imgGrass.bmp");
    ASSERT_TRUE(ground);
    for (const char* name : {"Images/n3.bmp", "Images/volk.bmp", "Images/spider/p2.gif", "Images/tiles/imgCharSoldier.bmp",
                             "Images/tiles/imgDownChar.bmp", "Images/tiles/imgAssasin.bmp", "Images/sheep/s1.bmp"}) {
        auto d = LoadGamePicture(name);
        ASSERT_TRUE(d) << name;
        for (int at : {0, 31, 32 * 31 + 31}) EXPECT_EQ(d->pixels[at], ground->pixels[at]) << name << " pixel " << at;
    }
    auto black = LoadGamePicture("Images/tiles/imgNothing.bmp");
    ASSERT_TRUE(black);
    EXPECT_EQ(black->pixels, std::vector<Rgb>(32 * 32, Rgb{0, 0, 0}));
}
