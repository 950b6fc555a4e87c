#include "test_support.h"

using namespace morvath;

namespace {

using WorldModel = GameTest;

}  // namespace

TEST_F(WorldModel, GetPosMapIsColumnFirstAndEmptyPastTheRowOrGrid) {
    w().SetRow(3, L"abc");
    EXPECT_EQ(w().GetPosMap(1, 3), L"a");
    EXPECT_EQ(w().GetPosMap(3, 3), L"c");
    EXPECT_EQ(w().GetPosMap(4, 3), L"");
    EXPECT_EQ(w().GetPosMap(0, 3), L"");
    EXPECT_EQ(w().GetPosMap(1, -1), L"");
    EXPECT_EQ(w().GetPosMap(1, 101), L"");
    EXPECT_EQ(w().GetPosMap(1, 100), L"");
    w().setPosMap(3, 2, L"XY");  // row first
    EXPECT_EQ(w().Row(3), L"aXc");
    w().setPosMap2(3, 3, L"Z");
    EXPECT_EQ(w().Row(3), L"aXZ");
}

TEST_F(WorldModel, WritesOutsideTheGridAreIgnored) {
    w().SetRow(0, L"GG");
    w().setPosMap(0, 3, L"X");
    w().setPosMap(0, 0, L"X");
    w().setPosMap(-1, 1, L"X");
    w().setPosMap(101, 1, L"X");
    w().setPosMap(0, 1, L"");
    EXPECT_EQ(w().Row(0), L"GG");
}

TEST_F(WorldModel, FillBordersLaysOutAnEmptyGround) {
    w().SetRow(41, L"keep");
    w().FillBorders(L"Њ");
    EXPECT_EQ(w().GetPosMap(7, 6), L"G");
    EXPECT_EQ(w().GetPosMap(6, 6), L"Њ");
    EXPECT_EQ(w().Row(0).size(), 61u);
    EXPECT_EQ(w().Row(6).size(), 51u);
    EXPECT_EQ(w().Row(40).size(), 61u);
    EXPECT_EQ(w().GetPosMap(45, 35), L"G");
    EXPECT_EQ(w().GetPosMap(46, 35), L"Њ");
    EXPECT_EQ(w().Row(41), L"keep");
}

TEST_F(WorldModel, StandardExitsLeadBackToTheWilderness) {
    modVarsAndMain.PlayerX = 30;
    modVarsAndMain.PlayerY = 12;
    w().FillBorders(L"a");
    w().AddStandartLocations();
    EXPECT_EQ(w().LocCount, 3);
    // A hero at (17, 2) stands on the door at column 20 of row 5.
    EXPECT_EQ(w().GetPosMap(17 + 3, 2 + 3), L"+");
    const auto& r0 = w().Record(0);
    EXPECT_EQ(r0.X.ToNumber(), 17);
    EXPECT_EQ(r0.Y.ToNumber(), 2);
    EXPECT_EQ(r0.Target.ToText(), L"wild");
    EXPECT_EQ(r0.TargetX.ToNumber(), 30);
    EXPECT_EQ(r0.TargetY.ToNumber(), 12);
    EXPECT_EQ(w().GetPosMap(6, 14), L"+");
    EXPECT_EQ(w().GetPosMap(1, 14), L"G");
    EXPECT_EQ(w().GetPosMap(20, 36), L"+");
    EXPECT_EQ(w().GetPosMap(20, 40), L"G");
    EXPECT_EQ(w().GetPosMap(46, 17), L"+");
    EXPECT_EQ(w().GetPosMap(50, 17), L"G");
    EXPECT_EQ(w().Record(3).X.ToNumber(), 43);
    EXPECT_EQ(w().Record(3).Y.ToNumber(), 14);
}

TEST_F(WorldModel, LocationTableNeverOverflows) {
    w().ClearLocations();
    w().LocCount = 0;
    for (int i = 1; i <= 40; ++i) w().addLocation(i, i, L"wild", 1, 1);
    EXPECT_EQ(w().LocCount, 30);
    EXPECT_EQ(w().Record(30).X.ToNumber(), 30);
    // Re-running an entry script adds no second record for the same cell.
    w().ClearLocations();
    w().LocCount = 0;
    w().addLocation(5, 6, L"loc", 0, L"x.scr");
    w().addLocation(5, 6, L"loc", 0, L"x.scr");
    EXPECT_EQ(w().LocCount, 1);
    // ClearLocations keeps the count.
    w().ClearLocations();
    EXPECT_EQ(w().LocCount, 1);
    EXPECT_EQ(w().Record(1).Target.ToText(), L"");
}

TEST(RepeatString, JoinsCopies) {
    EXPECT_EQ(World::RepeatString(L"ab", 3), L"ababab");
    EXPECT_EQ(World::RepeatString(L"ab", 0), L"");
    EXPECT_EQ(World::RepeatString(L"ab", -2), L"");
}

TEST(Collections, PositionsAreOneBasedAndRemovalClosesTheGap) {
    ItemCol items;
    for (int i = 0; i < 3; ++i) items.Add()->ItemName = std::wstring(1, static_cast<wchar_t>(L'a' + i));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Item(1)->ItemName, L"a");
    EXPECT_EQ(items.Item(0), nullptr);
    EXPECT_EQ(items.Item(4), nullptr);
    EXPECT_FALSE(items.RemoveAt(5));
    EXPECT_EQ(items.Count(), 3);
    auto b = items.Item(2);
    EXPECT_TRUE(items.RemoveAt(1));
    EXPECT_EQ(items.Item(1), b);
    EXPECT_EQ(items.IndexOf(b), 1);
    EXPECT_TRUE(items.Remove(b));
    EXPECT_FALSE(items.Remove(b));
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(items.Item(1)->ItemName, L"c");
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
}

TEST(GameState, ResetClearsEverything) {
    modVarsAndMain.CreateRoots();
    modVarsAndMain.QuestFlags[28] = 7;
    modVarsAndMain.Money = 100;
    modVarsAndMain.Player->HP = 5;
    ResetGame();
    EXPECT_EQ(modVarsAndMain.QuestFlags[28], 0);
    EXPECT_EQ(modVarsAndMain.Money, 0);
    EXPECT_EQ(modVarsAndMain.Player, nullptr);
}
