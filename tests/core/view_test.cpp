// The tile painters and the view: which picture stands in which cell.
#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

#include "game/screen.h"
#include "screen_fixture.h"
#include "world/hero_sprites.h"
#include "world/tile_painters.h"

using namespace morvath;

namespace {

TEST(TilePainters, TheAlphabetHas91CharactersAndEachPainterItsOwnShare) {
    std::map<int, int> perKind;  // -1: known to any painter
    for (int c = 1; c <= 0xFFFF; ++c) {
        bool known = false;
        for (MapKind k : {kMapTown, kMapWild, kMapHouse, kMapForest, kMapCave}) {
            if (TilePicture(k, static_cast<wchar_t>(c))) known = ++perKind[k];
        }
        perKind[-1] += known;
    }
    EXPECT_EQ(std::tuple(perKind[-1], perKind[kMapTown], perKind[kMapWild], perKind[kMapHouse], perKind[kMapForest]), std::tuple(91, 79, 26, 53, 38));
}

TEST(TilePainters, OneCharacterMeansDifferentThingsOnDifferentMaps) {
    // Cyrillic letters and their Latin look-alikes are different tiles.
    const std::tuple<MapKind, wchar_t, std::optional<Pic>> tiles[] = {
        {kMapWild, L'1', Pic::castle},      {kMapTown, L'1', Pic::imgCharWomen1}, {kMapCave, L'1', Pic::imgCharWomen1},  {kMapWild, L'?', Pic::village},
        {kMapForest, L'?', Pic::imgbushw},  {kMapTown, L'#', Pic::imgDoor1},      {kMapWild, L'#', Pic::shaht},          {kMapCave, L'#', Pic::imgCaveStairs},
        {kMapHouse, L'#', std::nullopt},    {kMapForest, L'#', std::nullopt},     {kMapTown, L'k', Pic::chicken},        {kMapHouse, L'k', Pic::ImgIT3},
        {kMapTown, L'K', Pic::dog},         {kMapHouse, L'K', Pic::ImgBIR3},      {kMapCave, L'k', std::nullopt},        {kMapHouse, L'V', Pic::imgKgt},
        {kMapCave, L'V', Pic::imgSkel},     {kMapHouse, L'\u00AE', Pic::berendei}, {kMapCave, L'\u00AE', Pic::orc},      {kMapWild, L'9', std::nullopt},
        {kMapForest, L'9', Pic::Item},      {kMapTown, L'\u041C', Pic::ImgM},     {kMapTown, L'M', Pic::in2},            {kMapTown, L'\u043F', Pic::penek},
        {kMapTown, L'n', std::nullopt},     {kMapCave, L'Z', std::nullopt},       {static_cast<MapKind>(7), L'G', std::nullopt}};
    for (auto [kind, tile, pic] : tiles) EXPECT_EQ(TilePicture(kind, tile), pic) << kind << " " << int(tile);
}

// Town water shows a fish above 35 of 36, other water never; animations draw their four frames.
TEST(TilePainters, TownWaterShowsAFishAndAnimationsTheirFourFrames) {
    for (auto [draw, pic] : {std::pair{35.01 / 36, Pic::fish}, std::pair{34.99 / 36, Pic::ImgBlack}}) {
        PinnedDraws draws{draw, draw, draw, draw};
        EXPECT_EQ(std::vector({TilePicture(kMapTown, L'-'), TilePicture(kMapWild, L'-'), TilePicture(kMapForest, L'-'), TilePicture(kMapCave, L'-')}),
                  std::vector<std::optional<Pic>>({pic, Pic::ImgBlack, Pic::ImgBlack, Pic::ImgBlack}));
    }
    for (auto [tile, first] : {std::pair{L'r', Pic::sheep1}, std::pair{L'\u00A9', Pic::spider1}, std::pair{L't', Pic::tvar1}}) {
        PinnedDraws draws{0, 0.2499, 0.25, 0.9999};
        for (int frame : {0, 0, 1, 3}) EXPECT_EQ(TilePicture(kMapCave, tile), static_cast<Pic>(static_cast<int>(first) + frame));
    }
}

struct ViewTest : ScreenTest {
    const View& view() { return g().gameScreen.view; }
    // One row of the view: a letter per picture (G grass, . nothing, else '?').
    std::string Row(int row) {
        std::string s;
        for (int col = 0; col < 10; ++col) s += view().At(col, row) == Pic::imgGrass ? 'G' : view().At(col, row) == Pic::imgNothing ? '.' : '?';
        return s;
    }
};

// Facing gives the hero's picture, 0 hides him; the tiles around stand in their cells, dark
// cells are black and hide him but for the wild map's, an unknown map kind draws nothing.
TEST_F(ViewTest, TheHeroStandsOnCellFiveFiveAmongTheTilesAroundHim) {
    Put(5, 4, L"a");
    Put(2, 2, L"e");
    Put(9, 9, L"~");
    Put(6, 5, L"n");
    for (auto [facing, hero] : {std::pair{2, Pic::imgDownChar}, std::pair{4, Pic::imgLeftChar}}) {
        g().FacingDir = facing;
        DrawIt();
        EXPECT_EQ(std::tuple(view().At(5, 4), view().At(2, 2), view().At(9, 9), view().At(5, 5), view().At(6, 5), view().heroShown, view().hero),
                  std::tuple(Pic::imgCave, Pic::imgFlower, Pic::imgTower, Pic::imgGrass, Pic::imgNothing, true, hero));
    }
    g().FacingDir = 0;
    DrawIt();
    EXPECT_FALSE(view().heroShown);
    g().Darkness = true;
    for (MapKind kind : {kMapTown, kMapHouse, kMapForest, kMapCave, kMapWild}) {
        w().MapType = kind;
        DrawIt();
        EXPECT_EQ(std::tuple(std::count(view().cells.begin(), view().cells.end(), Pic::imgNothing), view().heroShown), std::tuple(kind == kMapWild ? 3 : 100, false)) << kind;
    }
    const View before = view();
    w().MapType = 7;
    Put(5, 4, L"e");
    DrawIt();
    EXPECT_EQ(view().cells, before.cells);
}

TEST_F(ViewTest, CellsOffTheMapAreBlack) {
    for (int row = 41; row <= 60; ++row) w().SetRow(row, std::wstring(30, L'G'));
    w().SetRow(1, std::wstring(20, L'G'));  // the view ends one column past row 1's end
    // Grid column 1 is never shown: with PlayerX 0 the four left columns are black. A hero on
    // grid row 51 sees rows 46..52 and black below; grid row 1 is never shown either. On the
    // right a row ends one past its end; the hero's row 8 (12 long) is black.
    struct Case { int x, y, row; const char* expected; };
    const Case cases[] = {{0, 5, 0, "....GGGGGG"}, {10, 48, 6, "GGGGGGGGGG"}, {10, 48, 7, ".........."}, {15, 5, 0, "GGGGGGGG.."},
                          {15, 5, 1, "GGGGGGGGG."}, {5, 1, 2, ".........."}, {5, 1, 3, "GGGGGGGGGG"}, {15, 5, 5, ".........."}};
    for (const auto& c : cases) {
        std::tie(g().PlayerX, g().PlayerY) = std::tuple(c.x, c.y);
        w().SetRow(3, std::wstring(c.x == 15 ? 20 : 30, L'G'));
        w().SetRow(8, std::wstring(c.row == 5 ? 12 : 30, L'G'));
        DrawIt();
        EXPECT_EQ(Row(c.row), c.expected) << c.x << "," << c.y << " row " << c.row;
    }
}

// The screen opens with the hero's portrait facing down; a person whose four picture files are
// not all there keeps the screen's pictures; the claw has one picture for all.
TEST_F(ViewTest, EachPersonHasItsOwnLook) {
    const auto& hero = g().gameScreen.hero;
    g().gameScreen.hero.portrait = Pic::imgUpChar;
    OpenGameScreen();
    SetHeroImages(kMonk);
    EXPECT_EQ(std::tuple(hero.portrait, hero.down), std::tuple(Pic::imgDownChar, Pic::imgDownChar));
    for (const char* f : {"m1.bmp", "m2.bmp", "m3.bmp", "m4.bmp"}) WriteText(L"Images/" + FromUtf8(f), L"BM");
    SetHeroImages(kMonk);
    std::tie(g().FacingDir, w().MapType) = std::tuple(4, kMapTown);
    DrawIt();
    EXPECT_EQ(std::tuple(hero.portrait, view().hero), std::tuple(Pic::m3, Pic::m4));
    SetHeroImages(kClaw);
    EXPECT_EQ(std::vector({hero.up, hero.down, hero.left, hero.right, hero.portrait}), std::vector<Pic>(5, Pic::imgAssasin));
}

}  // namespace
