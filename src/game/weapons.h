#pragma once
// The weapon table: random weapons the world hands out come from \maps\weapons.dat, loaded
// once per game.
#include <array>

#include "platform/variant.h"

namespace morvath {

enum WeaponColumn : int {
    kWpName = 0, kWpWeaponPlus = 1, kWpDefendPlus = 2, kWpCritical = 3, kWpWeight = 4,
    kWpSkillPlus = 5, kWpType = 6, kWpInfo = 7,
};

using WeaponsTableRows = std::array<std::array<Variant, 8>, 81>;

// Fills the table (rows in file order, at most 81 records); a missing file or a bad value
// keeps what was read before it.
void LoadWeaponsTable();
WeaponsTableRows& WeaponsTable();

}  // namespace morvath
