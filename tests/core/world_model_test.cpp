#include <tuple>

#include "test_support.h"

using namespace morvath;

namespace {

using WorldModel = GameTest;

}  // namespace

TEST_F(WorldModel, GetPosMapIsColumnFirstAndEmptyPastTheRowOrGrid) {
    w().SetRow(3, L"abc");
    std::wstring seen;
    for (auto [col, row] : {std::pair{1, 3}, {3, 3}, {4, 3}, {0, 3}, {1, -1}, {1, 101}, {1, 100}}) seen += w().GetPosMap(col, row) + L"|";
    w().setPosMap(3, 2, L"XY");  // row first
    w().setPosMap2(3, 3, L"Z");
    w().SetRow(0, L"GG");
    w().SetRow(100, L"GG");
    for (auto [row, col] : {std::pair{0, 3}, {0, 0}, {-1, 1}, {101, 1}, {100, 2}, {0, 1}}) w().setPosMap(row, col, col == 1 && row == 0 ? L"" : L"X");
    EXPECT_EQ(seen + w().Row(3) + L"|" + w().Row(0) + L"|" + w().Row(100), L"a|c||||||aXZ|GG|GX");
}

// The ground is rows 0..40 of 61 (51 inside the border); its four exits are doors in paths
// through the border, and lead back to where the hero stood on the wilderness map.
TEST_F(WorldModel, FillBordersLaysOutAnEmptyGroundAndStandardExitsLeadBackToTheWilderness) {
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(30, 12);
    w().SetRow(41, L"keep");
    w().FillBorders(L"Њ");
    w().AddStandartLocations();
    std::wstring cells;
    for (auto [col, row] : {std::pair{7, 6}, {6, 6}, {45, 35}, {46, 35}, {20, 5}, {6, 14}, {1, 14}, {20, 36}, {20, 40}, {46, 17}, {50, 17}})
        cells += w().GetPosMap(col, row);
    const auto& r0 = w().Record(0);
    EXPECT_EQ(std::tuple(w().Row(0).size(), w().Row(6).size(), w().Row(40).size(), w().Row(41), int(w().LocCount), cells),
              std::tuple(61u, 51u, 61u, std::wstring(L"keep"), 3, std::wstring(L"GЊGЊ++G+G+G")));
    EXPECT_EQ(std::tuple(r0.X.ToNumber(), r0.Y.ToNumber(), r0.Target.ToText(), r0.TargetX.ToNumber(), r0.TargetY.ToNumber(),
                         w().Record(3).X.ToNumber(), w().Record(3).Y.ToNumber()),
              std::tuple(17.0, 2.0, std::wstring(L"wild"), 30.0, 12.0, 43.0, 14.0));
}

// Thirty records at most, and a second record for the same cell is dropped.
TEST_F(WorldModel, LocationTableNeverOverflowsNorRepeatsACell) {
    w().ClearLocations();
    w().LocCount = 0;
    for (int i = 1; i <= 40; ++i) w().addLocation(i, i, L"wild", 1, 1);
    EXPECT_EQ(std::tuple(int(w().LocCount), w().Record(30).X.ToNumber()), std::tuple(30, 30.0));
    w().ClearLocations();
    w().LocCount = 0;
    w().addLocation(5, 6, L"loc", 0, L"x.scr");
    w().addLocation(5, 6, L"loc", 0, L"x.scr");
    w().ClearLocations();  // keeps the count
    EXPECT_EQ(std::tuple(int(w().LocCount), w().Record(1).Target.ToText()), std::tuple(1, std::wstring()));
}
