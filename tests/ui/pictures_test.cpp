// The picture maker's writers and source reader, read back the way the window reads pictures
// (QImage), and the pictures it put in the game folder: every source drawn, in the format its
// name says, in the palette, at its size; every picture the game asks for there.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <map>
#include <set>

#include "../../tools/mkimages/artsource.h"
#include "platform/files.h"
#include "world/pictures.h"

using namespace morvath;
using namespace morvath::pictures;

namespace {

const fs::path kGame = MORVATH_GAME_DIR;
const fs::path kArt = fs::path(MORVATH_TEST_DATA) / ".." / ".." / "data" / "art";

QImage Decode(const std::string& bytes) {
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))).convertToFormat(QImage::Format_RGB32);
}
Rgb At(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return Rgb{static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)), static_cast<std::uint8_t>(qBlue(c))};
}
bool SamePixels(const QImage& image, const Picture& pic, const std::vector<Rgb>& pal) {
    if (image.width() != pic.width || image.height() != pic.height) return false;
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            if (!(At(image, x, y) == pal[pic.at(x, y)])) return false;
    return true;
}

// A picture with long runs and busy stretches, so that the coder meets both deep codes and
// a full table.
Picture Pattern(int w, int h, int colours, unsigned seed) {
    Picture p{w, h, {}};
    unsigned v = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            v = v * 1103515245u + 12345u;
            const bool busy = (y / 7) % 2 == 1;
            p.index.push_back(static_cast<std::uint8_t>(busy ? (v >> 16) % colours : (x / 9 + y / 5) % colours));
        }
    return p;
}
std::vector<Rgb> Greys(int n) {
    std::vector<Rgb> pal;
    for (int i = 0; i < n; ++i)
        pal.push_back(Rgb{static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3)});
    return pal;
}

}  // namespace

TEST(PictureWriters, BothFormatsReadBackToTheSamePixels) {
    struct Case {
        int w, h, colours;
    };
    // 2 colours use the smallest code size; 3 pad the table; 300 x 200 fills the code table
    // several times over, so the coder must clear and start again in step with the reader.
    for (Case c : {Case{1, 1, 1}, Case{5, 3, 3}, Case{7, 5, 2}, Case{33, 9, 3}, Case{300, 200, 32}, Case{256, 256, 256}}) {
        const Picture pic = Pattern(c.w, c.h, c.colours, 7u + c.w);
        const auto pal = Greys(c.colours);
        const std::string gif = EncodeGif(pic, pal), bmp = EncodeBmp(pic, pal);
        EXPECT_EQ(gif.compare(0, 6, "GIF89a"), 0);
        EXPECT_TRUE(SamePixels(Decode(gif), pic, pal)) << c.w << "x" << c.h << " gif";
        EXPECT_TRUE(SamePixels(Decode(bmp), pic, pal)) << c.w << "x" << c.h << " bmp";
        // Rows of three bytes a pixel, padded to four.
        EXPECT_EQ(bmp.size(), 54u + ((3u * c.w + 3) & ~3u) * c.h);
    }
    const Picture plain{64, 64, std::vector<std::uint8_t>(64 * 64, 1)};
    EXPECT_LT(EncodeGif(plain, Greys(4)).size(), 400u);  // runs of one colour compress
    const auto pal = Greys(2);
    EXPECT_THROW(EncodeBmp(Picture{2, 2, {0, 1, 2, 0}}, pal), std::invalid_argument);  // pixel outside the palette
    EXPECT_THROW(EncodeGif(Picture{2, 2, {0, 1, 1}}, pal), std::invalid_argument);     // too few pixels
    EXPECT_THROW(EncodeGif(Picture{0, 0, {}}, pal), std::invalid_argument);
    EXPECT_THROW(EncodeBmp(Picture{1, 1, {0}}, {}), std::invalid_argument);
}

TEST(ArtSources, PaletteBaseAndScale) {
    Palette pal = ParsePalette("# key colour name\nk 000000 black\nw FFffff white\n\ng 00ff00 green\n");
    EXPECT_EQ(pal.keys, "kwg");
    EXPECT_EQ(pal.colours[1], (Rgb{255, 255, 255}));
    EXPECT_EQ(pal.IndexOf('x'), -1);
    for (const char* bad : {"k 000000\nk 111111\n", "k 00000g\n", ". 000000 the base marker\n", "# nothing\n"})
        EXPECT_THROW(ParsePalette(bad), ArtError) << bad;

    std::map<std::string, std::string> files = {{"ground.bmp", "# grass\r\ngg\r\ngk\r\n"}, {"thing.bmp", "base ground.bmp\nw.\n.w\n"}};
    ArtSet set(pal, [&](const std::string& n) { return files.at(n); });
    EXPECT_EQ(set.Get("thing.bmp").index, (std::vector<std::uint8_t>{1, 2, 2, 1}));
    EXPECT_EQ(set.Get("ground.bmp").index, (std::vector<std::uint8_t>{2, 2, 2, 0}));

    Picture p = Render(ParseArtSource("# two by one, three times\nscale 3\nkw\n"), pal, nullptr);
    ASSERT_EQ(p.width, 6);
    EXPECT_EQ(p.height, 3);
    EXPECT_EQ(p.index, (std::vector<std::uint8_t>{0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1}));
    EXPECT_THROW(ParseArtSource("scale 9\nk\n"), ArtError);
    EXPECT_THROW(ParseArtSource("scale 0\nk\n"), ArtError);
    EXPECT_EQ(EncodeFor("Images/CASTLE.GIF", Picture{1, 1, {1}}, pal).compare(0, 3, "GIF"), 0);
    EXPECT_EQ(EncodeFor("Images/n1.bmp", Picture{1, 1, {1}}, pal).compare(0, 2, "BM"), 0);
}

TEST(ArtSources, MistakesAreReportedWithTheirPlace) {
    Palette pal = ParsePalette("k 000000 black\nw ffffff white\n");
    const std::map<std::string, std::pair<std::string, std::string>> files = {
        {"ragged", {"kw\nk\n", "row 2"}},
        {"stranger", {"kw\nkq\n", "row 2 column 2"}},
        {"dot-without-base", {"k.\nkk\n", "'.' is not a palette key"}},
        {"small", {"k\n", ""}},
        {"on-small", {"base small\nkk\nkk\n", "base small is 1x1"}},
        {"a", {"base b\nk\n", "leads back to itself"}},
        {"b", {"base a\nk\n", "leads back to itself"}},
        {"empty", {"# only a comment\n", "no pixel rows"}},
        {"on-missing", {"base nowhere\nk\n", "no source nowhere"}},
    };
    ArtSet set(pal, [&](const std::string& n) {
        auto it = files.find(n);
        if (it == files.end()) throw ArtError("no source " + n);
        return it->second.first;
    });
    for (int round = 0; round < 2; ++round) {  // a failed picture is not remembered as done
        for (const auto& [name, file] : files) {
            if (file.second.empty()) continue;
            std::string message = "no error";
            try {
                set.Get(name);
            } catch (const ArtError& e) {
                message = e.what();
            }
            EXPECT_NE(message.find(file.second), std::string::npos) << name << ": " << message;
        }
    }
}

TEST(GamePictures, EverySourceIsDrawnInItsFormatSizeAndPalette) {
    auto paletteText = ReadBytes(kArt / "palette.txt");
    ASSERT_TRUE(paletteText);
    const Palette palette = ParsePalette(*paletteText);
    int count = 0;
    for (const auto& e : fs::recursive_directory_iterator(kArt / "Images")) {
        if (!e.is_regular_file() || e.path().extension() != ".txt") continue;
        const std::string name = fs::relative(e.path(), kArt).replace_extension().string();
        auto bytes = ReadBytes(kGame / name);
        ASSERT_TRUE(bytes) << name;
        ++count;
        const bool gif = name.ends_with(".gif");
        EXPECT_EQ(bytes->compare(0, gif ? 3 : 2, gif ? "GIF" : "BM"), 0) << name;
        const QImage image = Decode(*bytes);
        // Tiles and slot pictures are one cell; the menu's pictures are four.
        const int side = image.width();
        ASSERT_TRUE(side == 32 || (side == 128 && name.starts_with("Images/ui/"))) << name;
        ASSERT_EQ(image.height(), side) << name;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                ASSERT_NE(std::find(palette.colours.begin(), palette.colours.end(), At(image, x, y)), palette.colours.end()) << name;
    }
    EXPECT_GT(count, 100);
    // Every picture the game asks for, where the window looks for it.
    for (int i = 0; i < kPictureCount; ++i) {
        const Pic p = static_cast<Pic>(i);
        const std::wstring file = PictureFile(p).empty() ? L"\\Images\\tiles\\" + PictureName(p) + L".bmp" : PictureFile(p);
        SetGameFolder(kGame);
        EXPECT_FALSE(QImage(QString::fromStdString(GamePath(file).string())).isNull()) << i;
    }
}

TEST(GamePictures, AnimationsDifferAndCharactersStandOnTheGround) {
    auto load = [](const std::string& name) { return Decode(ReadBytes(kGame / name).value_or("")); };
    for (const char* set : {"Images/sheep/s%.bmp", "Images/spider/p%.gif", "Images/tvar/t%.bmp", "Images/n%.bmp", "Images/m%.bmp",
                            "Images/oh%.bmp", "Images/fireball%.bmp", "Images/a%.bmp", "Images/tiles/img%Char.bmp"}) {
        std::set<QByteArray> seen;
        for (const char* frame : {"1", "2", "3", "4"}) {
            std::string name = set;
            const bool hero = name.find("Char") != std::string::npos;
            name.replace(name.find('%'), 1, hero ? std::map<std::string, std::string>{{"1", "Up"}, {"2", "Down"}, {"3", "Left"}, {"4", "Right"}}.at(frame) : frame);
            const QImage image = load(name);
            ASSERT_FALSE(image.isNull()) << name;
            EXPECT_TRUE(seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())).second) << name;
        }
    }
    // Pictures are painted without transparency: people and monsters carry the ground tile
    // around them, their corners are the ground's own pixels.
    const QImage ground = load("Images/tiles/imgGrass.bmp");
    for (const char* name : {"Images/n3.bmp", "Images/volk.bmp", "Images/spider/p2.gif", "Images/tiles/imgCharSoldier.bmp",
                             "Images/tiles/imgAssasin.bmp", "Images/sheep/s1.bmp"}) {
        const QImage image = load(name);
        for (auto [x, y] : {std::pair{0, 0}, std::pair{31, 0}, std::pair{31, 31}}) EXPECT_EQ(image.pixel(x, y), ground.pixel(x, y)) << name;
    }
    const QImage black = load("Images/tiles/imgNothing.bmp");
    ASSERT_FALSE(black.isNull());
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(black.pixel(x, y), qRgb(0, 0, 0));
}
