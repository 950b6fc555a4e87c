#include <vector>

#include "game/weapons.h"
#include "platform/numbers.h"
#include "test_support.h"
#include "world/equipment.h"
#include "world/game_state.h"
#include "world/random_content.h"

using namespace morvath;

namespace {

using StartContent = GameTest;

}  // namespace

// Three to six draws of six: a 2 is a dagger (with a bonus of 0 to 2, critical 70), a 4 food;
// nothing drawn is one food all the same.
TEST_F(StartContent, StartInventoryAlwaysHoldsSomething) {
    const double two = 2.0001 / 6, four = 4.0001 / 6;
    const std::tuple<std::vector<double>, std::wstring, double> cases[] = {
        {{0, two, 0.9999, four, 0}, L"Кинжал 1 70 +2|Еда 4 0 food.itm+0|", 1.5},
        {{0.9999, 0, 0, 0, 0, 0, 0.9999}, L"Еда 4 0 food.itm+0|", 1},
        {{0.25, four, four, two, 0.3, 3.9999 / 6, four}, L"Еда 4 0 food.itm+0|Еда 4 0 food.itm+0|Кинжал 1 70 +0|", 2.5}};
    for (const auto& [draws, expected, weight] : cases) {
        PinnedDraws pins(draws);
        g().Inventory->Clear();
        GenerateStartInventory();
        std::wstring items;
        for (const auto& i : *g().Inventory)
            items += i->ItemName + L" " + NumText(i->ItemType) + L" " + NumText(i->Critical) + L" " + i->ItemScript + L"+" + NumText(i->WeaponPlus) + L"|";
        EXPECT_EQ(std::tuple(items, h().Weight), std::tuple(expected, weight));
    }
}

// A power of two in every slot: each slot's share shows in the sums (the critical: the hands only).
TEST_F(StartContent, WeaponsFromWornItems) {
    for (int slot = 0; slot < 6; ++slot) {
        g().Equip[slot][kEqWeaponPlus] = g().Equip[slot][kEqDefendPlus] = 1 << slot;
        g().Equip[slot][kEqCritical] = 30 << slot;
    }
    CalculateWeapons();
    EXPECT_EQ(std::tuple(h().Weapon, h().Defence, h().Critical), std::tuple(0.5 + 1 + 4 + 8 + 8 + 16 + 1, 0.5 + 0.5 + 2 + 8 + 16 + 16, 6.0));
}
