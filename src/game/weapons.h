#pragma once
// The weapon table: random weapons the world hands out come from \maps\weapons.dat, loaded
// once per game.
#include <array>

#include "platform/variant.h"
#include "world/item_templates.h"

namespace morvath {

using WeaponsTableRows = std::array<std::array<Variant, 8>, 81>;

// Fills the table (rows in file order, at most 81 records); a missing file or a bad value
// keeps what was read before it.
void LoadWeaponsTable();
WeaponsTableRows& WeaponsTable();

}  // namespace morvath
