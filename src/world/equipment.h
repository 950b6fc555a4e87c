#pragma once
// The equipment worn in the six slots and what it makes of the hero.

namespace morvath {

// Recomputes the hero's Weapon, Defence and Critical from the worn items.
void CalculateWeapons();

}  // namespace morvath
