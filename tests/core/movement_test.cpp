// Walking, the passability sets, the door step and the turn tick, driven through the key map
// with virtual-key codes.
#include "game/movement.h"
#include "screen_fixture.h"
#include "world/turn.h"

using namespace morvath;

namespace {

using Movement = ScreenTest;

TEST_F(Movement, ArrowKeysTurnStepAndSpendATurnEach) {
    Key(kVkRight);
    EXPECT_EQ(g().PlayerX, 6);
    EXPECT_EQ(g().FacingDir, 3);
    Key(kVkDown);
    EXPECT_EQ(g().PlayerY, 6);
    EXPECT_EQ(g().FacingDir, 2);
    Key(kVkLeft);
    EXPECT_EQ(g().PlayerX, 5);
    EXPECT_EQ(g().FacingDir, 4);
    Key(kVkUp);
    EXPECT_EQ(g().PlayerY, 5);
    EXPECT_EQ(g().FacingDir, 1);
    EXPECT_EQ(w().Turn, 4);
}

TEST_F(Movement, ShiftAloneTurnsWithoutSteppingButStillSpendsATurn) {
    Key(kVkRight, kShiftMask);
    EXPECT_EQ(g().PlayerX, 5);
    EXPECT_EQ(g().FacingDir, 3);
    EXPECT_EQ(w().Turn, 1);
    // Shift with another modifier is no "turn only".
    Key(kVkRight, kShiftMask | kCtrlMask);
    EXPECT_EQ(g().PlayerX, 6);
}

TEST_F(Movement, AnOverloadedHeroOnlyTurns) {
    g().Player->Weight = 100;  // the whole carrying limit
    Key(kVkLeft);
    EXPECT_EQ(g().PlayerX, 5);
    EXPECT_EQ(g().FacingDir, 4);
    EXPECT_EQ(g().screen.lblII, L"Невозможно идти дальше - вы перегружены донельзя!");
    EXPECT_EQ(w().Turn, 1);
}

TEST_F(Movement, WallsAndCharactersBlockTheStep) {
    Put(6, 5, L"a");
    Key(kVkRight);
    EXPECT_EQ(g().PlayerX, 5);
    EXPECT_EQ(w().Turn, 1);
    // A character stands on the grid as its symbol: a woman blocks, a heap mark does not.
    auto npc = g().NPCs->Add();
    npc->Symbol = L"1";
    npc->X = 5;
    npc->Y = 6;
    PutNPCsOnMap();
    Key(kVkDown);
    EXPECT_EQ(g().PlayerY, 5);
}

TEST_F(Movement, ASteppedOnHeapSaysSo) {
    Put(5, 6, L"9");
    Key(kVkDown);
    EXPECT_EQ(g().PlayerY, 6);
    EXPECT_EQ(g().screen.lblII, L"Несколько вещей... ");
}

// Each tile met by each arrow key (right, left, down, up), in town and on the wilderness
// map: the key map decides by the side the hero steps from and by the map he is on. Off the
// wild map a door is entered from below by the door step.
TEST_F(Movement, EveryArrowKeyKnowsWhichTilesItEnters) {
    const std::pair<wchar_t, const char*> tiles[] = {
        {L'\u043F', "1111 1111"}, {L'9', "1111 1111"}, {L'G', "1111 1111"}, {L'q', "1111 1111"}, {L'+', "1111 1110"},
        {L'{', "1111 1111"},       {L'B', "0000 1111"}, {L'\u040A', "0000 1111"}, {L'1', "0000 1111"}, {L'?', "0000 1111"},
        {L'#', "0001 0001"},       {L'v', "0000 1111"}, {L'c', "0000 1111"}, {L'R', "0000 1111"}, {L'E', "0000 1111"},
        {L'a', "0000 0000"},       {L'w', "0000 0000"}, {L'\u2019', "0001 0000"}, {L'%', "0000 0000"}, {L'n', "0000 0000"}};
    struct Step { int key, dx, dy; };
    const Step steps[] = {{kVkRight, 1, 0}, {kVkLeft, -1, 0}, {kVkDown, 0, 1}, {kVkUp, 0, -1}};
    for (const auto& [tile, enters] : tiles) {
        for (int i = 0; i < 8; ++i) {
            const Step s = steps[i % 4];
            w().WorldName = i < 4 ? L"town" : L"wild";
            for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(30, L'G'));
            g().PlayerX = 5;
            g().PlayerY = 5;
            Put(5 + s.dx, 5 + s.dy, std::wstring(1, tile).c_str());
            SeedRandom(1);  // the wilderness step's encounter roll meets nobody
            Key(s.key);
            const bool in = enters[i + i / 4] == '1';
            EXPECT_EQ(g().PlayerX * 100 + g().PlayerY, in ? (5 + s.dx) * 100 + 5 + s.dy : 505) << int(tile) << " step " << i;
        }
    }
    EXPECT_FALSE(CanMove(L""));
    EXPECT_EQ(g().screen.lblII, L"Равнины...");  // said on the wild map
}

TEST_F(Movement, TheHeroNeverLeavesTheGrid) {
    g().PlayerX = 1;
    g().PlayerY = 1;
    Key(kVkUp);
    Key(kVkLeft);
    EXPECT_EQ(g().PlayerX, 1);
    EXPECT_EQ(g().PlayerY, 1);
    // The bound holds along the step only: on column 0 the hero still walks down.
    g().PlayerX = 0;
    Key(kVkDown);
    EXPECT_EQ(g().PlayerY, 2);
    // The right edge: nothing lies past the end of a row.
    g().PlayerX = 27;  // column 30, the last
    Key(kVkRight);
    EXPECT_EQ(g().PlayerX, 27);
    // The bottom of the grid: row 100 is the last row there is.
    for (int row = 41; row <= 100; ++row) w().SetRow(row, std::wstring(30, L'G'));
    g().PlayerY = 97;
    Key(kVkDown);
    EXPECT_EQ(g().PlayerY, 97);
}

TEST_F(Movement, UpIntoADoorTakesTheDoorStepAndEntersAtOnce) {
    WriteLocation(L"house", Grass(20, 20), {}, kMapHouse);
    Put(5, 4, L"+");
    Record(5, 4, L"house", Variant(3), Variant(7));
    Key(kVkUp);
    EXPECT_EQ(w().WorldName, L"house");
    EXPECT_EQ(g().PlayerX, 3);
    EXPECT_EQ(g().PlayerY, 7);
    EXPECT_EQ(w().MapType, kMapHouse);
    EXPECT_EQ(g().ReturnX.ToNumber(), 5);
    EXPECT_EQ(g().ReturnY, 4);
    EXPECT_EQ(w().Turn, 1);
}

TEST_F(Movement, TheDoorStepPutsTheHeroOnTheDoorEvenWithoutARecord) {
    Put(5, 4, L"\u2019");  // ’, a town house's door
    Key(kVkUp);
    EXPECT_EQ(g().PlayerY, 4);
    EXPECT_EQ(w().WorldName, L"town");
}

TEST_F(Movement, DownOntoADoorIsAnOrdinaryStepAndTheKeyMapChecksTheCell) {
    WriteLocation(L"house", Grass(20, 20), {}, kMapHouse);
    Put(5, 6, L"+");
    Record(5, 6, L"house", Variant(3), Variant(7));
    Key(kVkDown);
    EXPECT_EQ(w().WorldName, L"house");
    EXPECT_EQ(g().PlayerY, 7);
}

TEST_F(Movement, OnTheWildMapADoorIsNoDoor) {
    w().WorldName = L"wild";
    w().MapType = kMapWild;
    Put(5, 4, L"#");
    Record(5, 4, L"house", Variant(3), Variant(7));
    WriteLocation(L"house", Grass(20, 20), {}, kMapHouse);
    Key(kVkUp);
    EXPECT_EQ(g().PlayerY, 4);  // an ordinary step onto the mine
    EXPECT_EQ(w().WorldName, L"wild");
    EXPECT_EQ(w().Turn, 50);
    EXPECT_EQ(g().Player->Hungry, 500 + 25);  // a step of the wild map's own upkeep
}

TEST_F(Movement, ADayHasAThousandTurnsInTownAndTwentyStepsInTheWild) {
    w().Turn = 998;
    Key(kVk5);
    Key(kVk5);
    EXPECT_EQ(w().Turn, 1000);
    EXPECT_EQ(w().Day, 1);
    Key(kVk5);
    EXPECT_EQ(w().Day, 2);
    EXPECT_EQ(w().Turn, 1);

    // 990 in town, then through the gate onto the wild map: the step's tick is a wild one.
    w().Turn = 990;
    WriteLocation(L"wild", Grass(30, 30), {});
    Put(5, 4, L"q");
    Record(5, 4, L"wild", Variant(10), Variant(10));
    Key(kVkUp);
    EXPECT_EQ(w().WorldName, L"wild");
    EXPECT_EQ(w().Turn, 1040);
    EXPECT_EQ(w().Day, 2);
    Key(kVkDown);
    EXPECT_EQ(w().Day, 3);
    EXPECT_EQ(w().Turn, 50);
    EXPECT_EQ(g().PlayerY, 11);
}

TEST_F(Movement, WalkingSidewaysClosesTheSpeechBox) {
    g().screen.speechVisible = true;
    Key(kVkDown);
    EXPECT_TRUE(g().screen.speechVisible);
    Key(kVkLeft);
    EXPECT_FALSE(g().screen.speechVisible);
}

TEST_F(Movement, CharactersArePutOnTheGridAndOffGridOnesAreSkipped) {
    auto a = g().NPCs->Add();
    a->Symbol = L"%";
    a->X = 2;
    a->Y = 3;
    auto b = g().NPCs->Add();
    b->Symbol = L"%";
    b->X = 500;
    b->Y = -40;
    PutNPCsOnMap();
    EXPECT_EQ(At(2, 3), L"%");
    EXPECT_EQ(w().GetPosMap(5, 6), L"%");
}

}  // namespace
