// Walking, the passability sets, the door step and the turn tick, driven through the key map
// with virtual-key codes.
#include <tuple>

#include "game/movement.h"
#include "screen_fixture.h"
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

}  // namespace
