// The tile painters and the view: which picture stands in which cell.
#include <map>
#include <optional>
#include <tuple>

#include "game/screen.h"
#include "screen_fixture.h"
#include "world/hero_sprites.h"
#include "world/tile_painters.h"

using namespace morvath;

namespace {

constexpr MapKind kKinds[] = {kMapTown, kMapWild, kMapHouse, kMapForest, kMapCave};

TEST(TilePainters, TheAlphabetHas91CharactersAndEachPainterItsOwnShare) {
    int any = 0;
    std::map<int, int> perKind;
    for (int c = 1; c <= 0xFFFF; ++c) {
        bool known = false;
        for (MapKind k : kKinds) {
            if (TilePicture(k, static_cast<wchar_t>(c))) {
                ++perKind[k];
                known = true;
            }
        }
        if (known) ++any;
    }
    EXPECT_EQ(any, 91);
    EXPECT_EQ(perKind[kMapTown], 79);
    EXPECT_EQ(perKind[kMapWild], 26);
    EXPECT_EQ(perKind[kMapHouse], 53);
    EXPECT_EQ(perKind[kMapForest], 38);
}

TEST(TilePainters, OneCharacterMeansDifferentThingsOnDifferentMaps) {
    // Cyrillic letters and their Latin look-alikes are different tiles.
    const std::tuple<MapKind, wchar_t, std::optional<Pic>> tiles[] = {
        {kMapWild, L'1', Pic::castle},        {kMapTown, L'1', Pic::imgCharWomen1}, {kMapCave, L'1', Pic::imgCharWomen1},
        {kMapWild, L'?', Pic::village},       {kMapForest, L'?', Pic::imgbushw},    {kMapTown, L'#', Pic::imgDoor1},
        {kMapWild, L'#', Pic::shaht},         {kMapCave, L'#', Pic::imgCaveStairs}, {kMapHouse, L'#', std::nullopt},
        {kMapForest, L'#', std::nullopt},     {kMapTown, L'k', Pic::chicken},       {kMapHouse, L'k', Pic::ImgIT3},
        {kMapTown, L'K', Pic::dog},           {kMapHouse, L'K', Pic::ImgBIR3},      {kMapCave, L'k', std::nullopt},
        {kMapHouse, L'V', Pic::imgKgt},       {kMapCave, L'V', Pic::imgSkel},       {kMapHouse, L'\u00AE', Pic::berendei},
        {kMapCave, L'\u00AE', Pic::orc},      {kMapWild, L'9', std::nullopt},       {kMapForest, L'9', Pic::Item},
        {kMapTown, L'\u041C', Pic::ImgM},     {kMapTown, L'M', Pic::in2},           {kMapTown, L'\u043F', Pic::penek},
        {kMapTown, L'n', std::nullopt},       {kMapCave, L'Z', std::nullopt},       {static_cast<MapKind>(7), L'G', std::nullopt}};
    for (auto [kind, tile, pic] : tiles) EXPECT_EQ(TilePicture(kind, tile), pic) << kind << " " << int(tile);
}

TEST(TilePainters, TownWaterShowsAFishAboveThirtyFiveOf36AndAnimationsTheirFourFrames) {
    for (auto [draw, pic] : {std::pair{35.01 / 36, Pic::fish}, std::pair{34.99 / 36, Pic::ImgBlack}}) {
        PinnedDraws draws{draw, draw, draw, draw};
        EXPECT_EQ(TilePicture(kMapTown, L'-'), pic);
        for (MapKind k : {kMapWild, kMapForest, kMapCave}) EXPECT_EQ(TilePicture(k, L'-'), Pic::ImgBlack);
    }
    for (auto [tile, first] : {std::pair{L'r', Pic::sheep1}, std::pair{L'\u00A9', Pic::spider1}, std::pair{L't', Pic::tvar1}}) {
        PinnedDraws draws{0, 0.2499, 0.25, 0.9999};
        for (int frame : {0, 0, 1, 3}) EXPECT_EQ(TilePicture(kMapCave, tile), static_cast<Pic>(static_cast<int>(first) + frame));
    }
}

TEST(Pictures, NamesAndFiles) {
    EXPECT_EQ(PictureName(Pic::imgGrass), L"imgGrass");
    EXPECT_EQ(PictureFile(Pic::imgGrass), L"");
    EXPECT_EQ(PictureFile(Pic::dom1_5), L"\\images\\dom1-5.bmp");
    EXPECT_EQ(PictureFile(Pic::spider3), L"\\Images\\spider\\p3.gif");
    EXPECT_EQ(PictureFile(Pic::imgCrest), L"\\Images\\crest.bmp");
    EXPECT_EQ(PictureFile(Pic::oh4), L"\\Images\\oh4.bmp");
}

class ViewTest : public ScreenTest {
protected:
    const View& view() { return g().gameScreen.view; }
    void Draw() { DrawIt(); }
};

TEST_F(ViewTest, TheHeroStandsOnCellFiveFiveAmongTheTilesAroundHim) {
    Put(5, 4, L"a");   // above the hero
    Put(2, 2, L"e");   // the top-left corner of the view
    Put(9, 9, L"~");   // the bottom-right corner
    Draw();
    EXPECT_EQ(view().At(5, 4), Pic::imgCave);
    EXPECT_EQ(view().At(2, 2), Pic::imgFlower);
    EXPECT_EQ(view().At(9, 9), Pic::imgTower);
    EXPECT_EQ(view().At(5, 5), Pic::imgGrass);
    EXPECT_TRUE(view().heroShown);
    EXPECT_EQ(view().hero, Pic::imgDownChar);
    g().FacingDir = 4;
    Draw();
    EXPECT_EQ(view().hero, Pic::imgLeftChar);
    g().FacingDir = 0;
    Draw();
    EXPECT_FALSE(view().heroShown);
}

TEST_F(ViewTest, CellsOffTheMapAreBlack) {
    // Grid column 1 is never shown: with PlayerX 0 the four left columns are black.
    g().PlayerX = 0;
    Draw();
    for (int row = 0; row < 10; ++row) {
        for (int col = 0; col < 4; ++col) EXPECT_EQ(view().At(col, row), Pic::imgNothing) << col << "," << row;
        EXPECT_EQ(view().At(4, row), Pic::imgGrass);
    }
    // A hero on grid row 51 sees rows 46..52 and black below; rows past 51 are never shown.
    for (int row = 41; row <= 60; ++row) w().SetRow(row, std::wstring(30, L'G'));
    g().PlayerX = 10;
    g().PlayerY = 48;
    Draw();
    for (int row = 0; row < 10; ++row) {
        const Pic expected = row < 7 ? Pic::imgGrass : Pic::imgNothing;
        for (int col = 0; col < 10; ++col) EXPECT_EQ(view().At(col, row), expected) << col << "," << row;
    }
}

TEST_F(ViewTest, TheRightEdgeFollowsRowOneAndShorterRowsEndInBlack) {
    w().SetRow(1, std::wstring(20, L'G'));  // the view ends one column past row 1's end
    w().SetRow(3, std::wstring(20, L'G'));  // the view's top row shows grid row 3
    w().SetRow(8, std::wstring(12, L'G'));  // the hero's row is shorter still
    g().PlayerX = 15;                       // view columns 0..9 show grid columns 13..22
    Draw();
    EXPECT_EQ(view().At(7, 0), Pic::imgGrass);    // grid column 20
    EXPECT_EQ(view().At(8, 0), Pic::imgNothing);  // grid column 21: one past the end, empty
    EXPECT_EQ(view().At(9, 0), Pic::imgNothing);  // past that: off the map
    EXPECT_EQ(view().At(9, 1), Pic::imgNothing);  // off the map in every row, long or not
    EXPECT_EQ(view().At(8, 1), Pic::imgGrass);
    EXPECT_EQ(view().At(0, 5), Pic::imgNothing);  // grid column 13 of the short row
    EXPECT_EQ(view().At(0, 4), Pic::imgGrass);
}

TEST_F(ViewTest, UnknownTilesAreBlackNotLeftOvers) {
    w().MapType = kMapCave;
    Put(6, 5, L"Z");
    Draw();
    EXPECT_EQ(view().At(6, 5), Pic::imgNothing);
}

TEST_F(ViewTest, DarknessBlacksEveryCellAndHidesTheHeroButNotOnTheWildMap) {
    g().Darkness = true;
    for (MapKind kind : {kMapTown, kMapHouse, kMapForest, kMapCave}) {
        w().MapType = kind;
        Put(5, 4, L"a");
        Draw();
        for (Pic p : view().cells) EXPECT_EQ(p, Pic::imgNothing) << kind;
        EXPECT_FALSE(view().heroShown);
    }
    w().MapType = kMapWild;
    Draw();
    EXPECT_EQ(view().At(5, 5), Pic::imgGrass);
    EXPECT_FALSE(view().heroShown);
}

TEST_F(ViewTest, AnUnknownMapKindDrawsNothing) {
    Draw();
    const View before = view();
    w().MapType = 7;
    Put(5, 4, L"a");
    Draw();
    EXPECT_EQ(view().cells, before.cells);
}

TEST_F(ViewTest, EachPersonHasItsOwnLook) {
    SetHeroImages(kPrince);
    EXPECT_EQ(g().gameScreen.hero.left, Pic::imgLeftChar);
    SetHeroImages(kClaw);
    const auto& hero = g().gameScreen.hero;
    for (Pic p : {hero.up, hero.down, hero.left, hero.right, hero.portrait}) EXPECT_EQ(p, Pic::imgAssasin);

    ResetGame();
    modVarsAndMain.CreateRoots();
    SetHeroImages(kMonk);  // no picture files: the screen's own pictures stay
    EXPECT_EQ(g().gameScreen.hero.down, Pic::imgDownChar);
    for (const char* f : {"m1.bmp", "m2.bmp", "m3.bmp", "m4.bmp"}) WriteText(L"Images/" + FromUtf8(f), L"BM");
    SetHeroImages(kMonk);
    EXPECT_EQ(g().gameScreen.hero.portrait, Pic::m3);
    EXPECT_EQ(g().gameScreen.hero.left, Pic::m4);
    g().FacingDir = 4;
    w().MapType = kMapTown;
    Draw();
    EXPECT_EQ(view().hero, Pic::m4);
}

TEST_F(ViewTest, TheScreenOpensWithTheHeroFacingDownAsPortrait) {
    g().gameScreen.hero.portrait = Pic::imgUpChar;
    OpenGameScreen();
    EXPECT_EQ(g().gameScreen.hero.portrait, Pic::imgDownChar);
}

}  // namespace
