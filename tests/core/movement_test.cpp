// Walking, the passability sets, the door step and the turn tick, driven through the key map
// with virtual-key codes; the tile painters and the view: which picture stands in which cell.
#include <algorithm>
#include <map>
#include <optional>

#include "game/movement.h"
#include "game/screen.h"
#include "screen_fixture.h"
#include "world/hero_sprites.h"
#include "world/tile_painters.h"
#include "world/turn.h"

using namespace morvath;

namespace {

struct Movement : ScreenTest {
    // Where the hero stands, faces and what the turn and the message line say.
    std::wstring State() {
        return std::to_wstring(g().PlayerX) + L"," + std::to_wstring(g().PlayerY) + L" f" + std::to_wstring(g().FacingDir) +
               L" t" + std::to_wstring(w().Turn) + L" d" + std::to_wstring(w().Day) + L" " + w().WorldName + L" " +
               g().screen.lblII;
    }
};

// A hero in town presses a key once. Column 0 still walks down; column 30 and row 100 are
// the last there are.
TEST_F(Movement, OneKeyInTown) {
    const struct { int key, mods, x, y, tx, ty; const wchar_t* tile; double weight; const wchar_t* expected; } cases[] = {  // a tile put at tx, ty first
        {kVkRight, 0, 5, 5, 0, 0, nullptr, 0, L"6,5 f3 t1 d1 town "},
        {kVkRight, kShiftMask, 5, 5, 0, 0, nullptr, 0, L"5,5 f3 t1 d1 town "},
        {kVkLeft, 0, 5, 5, 0, 0, nullptr, 100, L"5,5 f4 t1 d1 town Невозможно идти дальше - вы перегружены донельзя!"},
        {kVkRight, 0, 5, 5, 6, 5, L"a", 0, L"5,5 f3 t1 d1 town "},
        {kVkDown, 0, 5, 5, 5, 6, L"9", 0, L"5,6 f2 t1 d1 town Несколько вещей... "},
        {kVkUp, 0, 5, 5, 5, 4, L"\u2019", 0, L"5,4 f1 t1 d1 town "},  // the door step, no record
        {kVkUp, 0, 1, 1, 0, 0, nullptr, 0, L"1,1 f1 t1 d1 town "},     {kVkLeft, 0, 1, 1, 0, 0, nullptr, 0, L"1,1 f4 t1 d1 town "},
        {kVkDown, 0, 0, 1, 0, 0, nullptr, 0, L"0,2 f2 t1 d1 town "},    {kVkRight, 0, 27, 5, 0, 0, nullptr, 0, L"27,5 f3 t1 d1 town "},
        {kVkDown, 0, 5, 97, 0, 0, nullptr, 0, L"5,97 f2 t1 d1 town "}};
    for (const auto& c : cases) {
        NewTown();
        for (int row = 41; row <= 100; ++row) w().SetRow(row, std::wstring(30, L'G'));
        std::tie(w().Turn, g().screen.lblII, g().PlayerX, g().PlayerY, h().Weight) = std::tuple(0, L"", c.x, c.y, c.weight);
        if (c.tile) Put(c.tx, c.ty, c.tile);
        Key(c.key, c.mods);
        EXPECT_EQ(State(), c.expected) << c.key << " " << c.mods << " from " << c.x << "," << c.y;
    }
}

// Each tile met by each arrow key (right, left, down, up), in town and on the wilderness
// map: the key map decides by the side the hero steps from and by the map he is on. Off the
// wild map a door is entered from below by the door step.
TEST_F(Movement, EveryArrowKeyKnowsWhichTilesItEnters) {
    const std::pair<wchar_t, const char*> tiles[] = {
        {L'\u043F', "1111 1111"}, {L'9', "1111 1111"}, {L'q', "1111 1111"}, {L'+', "1111 1110"}, {L'B', "0000 1111"}, {L'\u040A', "0000 1111"},
        {L'#', "0001 0001"}, {L'c', "0000 1111"}, {L'a', "0000 0000"}, {L'w', "0000 0000"}, {L'\u2019', "0001 0000"}, {L'%', "0000 0000"}};
    const struct { int key, dx, dy; } steps[] = {{kVkRight, 1, 0}, {kVkLeft, -1, 0}, {kVkDown, 0, 1}, {kVkUp, 0, -1}};
    for (const auto& [tile, enters] : tiles) {
        for (int i = 0; i < 8; ++i) {
            const auto s = steps[i % 4];
            w().WorldName = i < 4 ? L"town" : L"wild";
            for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(30, L'G'));
            g().PlayerX = g().PlayerY = 5;
            Put(5 + s.dx, 5 + s.dy, std::wstring(1, tile).c_str());
            PinnedDraws draws{0};  // the wilderness step's encounter roll meets nobody
            Key(s.key);
            const bool in = enters[i + i / 4] == '1';
            EXPECT_EQ(g().PlayerX * 100 + g().PlayerY, in ? (5 + s.dx) * 100 + 5 + s.dy : 505) << int(tile) << " step " << i;
        }
    }
    EXPECT_EQ(std::tuple(CanMove(L""), g().screen.lblII), std::tuple(false, L"Равнины..."));  // said on the wild map
}

// Up into a door takes the door step and enters at once; down onto one is an ordinary step
// after which the key map checks the cell. On the wild map a door is no door.
TEST_F(Movement, DoorsAreEnteredByTheKeyThatStepsOnThem) {
    // In the house: its kind and the way back; on the wild map, a step of its own upkeep.
    const std::tuple<int, const wchar_t*, const wchar_t*, std::tuple<std::wstring, int, int, int>> cases[] = {
        {kVkUp, L"wild", L"#", {L"5,4 f1 t50 d1 wild Равнины...", kMapWild, 0, 525}}, {kVkUp, L"town", L"+", {L"3,7 f1 t1 d1 house ", kMapHouse, 4, 500}},
        {kVkDown, L"town", L"+", {L"3,7 f2 t1 d1 house ", kMapHouse, 6, 500}}};
    for (auto [key, place, tile, expected] : cases) {
        NewTown();
        std::tie(w().Turn, w().WorldName, w().MapType, h().Hungry) = std::tuple(0, place, std::wstring(place) == L"wild" ? kMapWild : kMapTown, 500);
        const int y = key == kVkUp ? 4 : 6;
        WriteLocation(L"house", Grass(20, 20), {}, kMapHouse);
        Put(5, y, tile);
        Record(5, y, L"house", Variant(3), Variant(7));
        Key(key);  // no step here draws: no encounter on a door, nobody in the house
        EXPECT_EQ(std::tuple(State(), int(w().MapType), int(g().ReturnY), int(h().Hungry)), expected);
    }
}

TEST_F(Movement, ADayHasAThousandTurnsInTownAndTwentyStepsInTheWild) {
    w().Turn = 999;  // 1000 is seen for one tick
    Key(kVk5);
    Key(kVk5);
    EXPECT_EQ(std::tuple(w().Turn, w().Day), std::tuple(1, 2));
    // 990 in town, then through the gate onto the wild map: the step's tick is a wild one.
    w().Turn = 990;
    WriteLocation(L"wild", Grass(30, 30), {});
    Put(5, 4, L"q");
    Record(5, 4, L"wild", Variant(10), Variant(10));
    Key(kVkUp);
    EXPECT_EQ(std::tuple(w().Turn, w().Day), std::tuple(1040, 2));
    Key(kVkDown);
    EXPECT_EQ(State().substr(0, 17), L"10,11 f2 t50 d3 w");
}

TEST_F(Movement, WalkingSidewaysClosesTheSpeechBox) {
    g().screen.speechVisible = true;
    Key(kVkDown);
    EXPECT_TRUE(g().screen.speechVisible);
    Key(kVkLeft);
    EXPECT_FALSE(g().screen.speechVisible);
}

// The tile painters and the view: which picture stands in which cell.
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
