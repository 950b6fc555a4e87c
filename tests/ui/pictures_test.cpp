// The picture maker's writers and source reader, read back the way the window reads pictures
// (QImage), and the pictures it put in the game folder: every source drawn, in the format its
// name says, in the palette, at its size; every picture the game asks for there.
#include <gtest/gtest.h>

#include <QImage>
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
QRgb Of(Rgb c) { return qRgb(c.r, c.g, c.b); }
// The picture as the window must see it.
QImage Expected(const Picture& pic, const std::vector<Rgb>& pal) {
    QImage image(pic.width, pic.height, QImage::Format_RGB32);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) image.setPixel(x, y, Of(pal[pic.at(x, y)]));
    return image;
}

// A picture with long runs and busy stretches, so that the coder meets both deep codes and
// a full table, and its palette.
std::pair<Picture, std::vector<Rgb>> Pattern(int w, int h, int colours) {
    Picture p{w, h, {}};
    unsigned v = 7u + w;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            v = v * 1103515245u + 12345u;
            p.index.push_back(static_cast<std::uint8_t>((y / 7) % 2 ? (v >> 16) % colours : (x / 9 + y / 5) % colours));
        }
    std::vector<Rgb> pal;
    for (int i = 0; i < colours; ++i) pal.push_back(Rgb{static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3)});
    return {p, pal};
}

}  // namespace

TEST(PictureWriters, BothFormatsReadBackToTheSamePixels) {
    // 2 colours use the smallest code size; 3 pad the table; 300 x 200 fills the code table
    // several times over, so the coder must clear and start again in step with the reader.
    for (auto [w, h, colours] : {std::tuple{1, 1, 1}, {5, 3, 3}, {7, 5, 2}, {33, 9, 3}, {300, 200, 32}, {256, 256, 256}}) {
        const auto [pic, pal] = Pattern(w, h, colours);
        const std::string gif = EncodeGif(pic, pal), bmp = EncodeBmp(pic, pal);
        // BMP rows are three bytes a pixel, padded to four.
        EXPECT_EQ(std::tuple(gif.substr(0, 6), Decode(gif) == Expected(pic, pal), Decode(bmp) == Expected(pic, pal), bmp.size()),
                  std::tuple("GIF89a", true, true, 54u + ((3u * w + 3) & ~3u) * h))
            << w << "x" << h;
    }
    const auto pal = Pattern(1, 1, 2).second;
    EXPECT_LT(EncodeGif(Picture{64, 64, std::vector<std::uint8_t>(64 * 64, 1)}, pal).size(), 400u);  // runs of one colour compress
    EXPECT_THROW(EncodeBmp(Picture{2, 2, {0, 1, 2, 0}}, pal), std::invalid_argument);              // pixel outside the palette
    EXPECT_THROW(EncodeGif(Picture{2, 2, {0, 1, 1}}, pal), std::invalid_argument);                 // too few pixels
    EXPECT_THROW(EncodeBmp(Picture{1, 1, {0}}, {}), std::invalid_argument);
}

TEST(ArtSources, PaletteBaseAndScale) {
    Palette pal = ParsePalette("# key colour name\nk 000000 black\nw FFffff white\n\ng 00ff00 green\n");
    EXPECT_EQ(std::tuple(pal.keys, pal.colours[1], pal.IndexOf('x')), std::tuple("kwg", Rgb{255, 255, 255}, -1));
    for (const char* bad : {"k 000000\nk 111111\n", "k 00000g\n", ". 000000 the base marker\n", "# nothing\n"})
        EXPECT_THROW(ParsePalette(bad), ArtError) << bad;

    std::map<std::string, std::string> files = {{"ground.bmp", "# grass\r\ngg\r\ngk\r\n"}, {"thing.bmp", "base ground.bmp\nw.\n.w\n"}};
    ArtSet set(pal, [&](const std::string& n) { return files.at(n); });
    EXPECT_EQ(std::pair(set.Get("thing.bmp").index, set.Get("ground.bmp").index), std::pair(std::vector<std::uint8_t>{1, 2, 2, 1}, std::vector<std::uint8_t>{2, 2, 2, 0}));

    Picture p = Render(ParseArtSource("# two by one, three times\nscale 3\nkw\n"), pal, nullptr);
    EXPECT_EQ(std::tuple(p.width, p.height, p.index), std::tuple(6, 3, std::vector<std::uint8_t>{0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1}));
    for (const char* bad : {"scale 9\nk\n", "scale 0\nk\n"}) EXPECT_THROW(ParseArtSource(bad), ArtError) << bad;
    EXPECT_EQ(EncodeFor("Images/CASTLE.GIF", Picture{1, 1, {1}}, pal).substr(0, 3) + EncodeFor("Images/n1.bmp", Picture{1, 1, {1}}, pal).substr(0, 2), "GIFBM");
}

TEST(ArtSources, MistakesAreReportedWithTheirPlace) {
    Palette pal = ParsePalette("k 000000 black\nw ffffff white\n");
    const std::map<std::string, std::pair<std::string, std::string>> files = {
        {"ragged", {"kw\nk\n", "row 2"}}, {"stranger", {"kw\nkq\n", "row 2 column 2"}}, {"dot-without-base", {"k.\nkk\n", "'.' is not a palette key"}},
        {"small", {"k\n", "no error"}}, {"on-small", {"base small\nkk\nkk\n", "base small is 1x1"}}, {"a", {"base b\nk\n", "leads back to itself"}},
        {"b", {"base a\nk\n", "leads back to itself"}}, {"empty", {"# only a comment\n", "no pixel rows"}}, {"on-missing", {"base nowhere\nk\n", "no source nowhere"}}};
    ArtSet set(pal, [&](const std::string& n) {
        if (!files.contains(n)) throw ArtError("no source " + n);
        return files.at(n).first;
    });
    for (int round = 0; round < 2; ++round)  // a failed picture is not remembered as done
        for (const auto& [name, file] : files) {
            std::string message = "no error";
            try { set.Get(name); } catch (const ArtError& e) { message = e.what(); }
            EXPECT_NE(message.find(file.second), std::string::npos) << name << ": " << message;
        }
}

TEST(GamePictures, EverySourceIsDrawnInItsFormatSizeAndPalette) {
    const Palette palette = ParsePalette(ReadBytes(kArt / "palette.txt").value_or(""));
    std::set<QRgb> colours;
    for (Rgb c : palette.colours) colours.insert(Of(c));
    int count = 0;
    for (const auto& e : fs::recursive_directory_iterator(kArt / "Images")) {
        if (!e.is_regular_file() || e.path().extension() != ".txt") continue;
        const std::string name = fs::relative(e.path(), kArt).replace_extension().string();
        const std::string bytes = ReadBytes(kGame / name).value_or("");
        const QImage image = Decode(bytes);
        ++count;
        // Tiles and slot pictures are one cell; the menu's pictures are four.
        const int side = name.starts_with("Images/ui/") && image.width() == 128 ? 128 : 32;
        bool inPalette = true;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inPalette = inPalette && colours.contains(image.pixel(x, y));
        EXPECT_EQ(std::tuple(bytes.substr(0, 2), image.width(), image.height(), inPalette),
                  std::tuple(name.ends_with(".gif") ? "GI" : "BM", side, side, true))
            << name;
    }
    EXPECT_GT(count, 100);
    // Every picture the game asks for, where the window looks for it.
    SetGameFolder(kGame);
    for (int i = 0; i < kPictureCount; ++i) {
        const Pic p = static_cast<Pic>(i);
        const std::wstring file = PictureFile(p).empty() ? L"\\Images\\tiles\\" + PictureName(p) + L".bmp" : PictureFile(p);
        EXPECT_FALSE(QImage(QString::fromStdString(GamePath(file).string())).isNull()) << i;
    }
}

// Pictures are painted without transparency: people and monsters carry the ground tile
// around them, their corners are the ground's own pixels.
TEST(GamePictures, CharactersStandOnTheGround) {
    const QImage ground = Decode(ReadBytes(kGame / "Images/tiles/imgGrass.bmp").value_or(""));
    for (const char* name : {"Images/n3.bmp", "Images/volk.bmp", "Images/spider/p2.gif", "Images/tiles/imgCharSoldier.bmp",
                             "Images/tiles/imgAssasin.bmp", "Images/sheep/s1.bmp"}) {
        const QImage image = Decode(ReadBytes(kGame / name).value_or(""));
        for (auto [x, y] : {std::pair{0, 0}, std::pair{31, 0}, std::pair{31, 31}}) EXPECT_EQ(image.pixel(x, y), ground.pixel(x, y)) << name;
    }
}
