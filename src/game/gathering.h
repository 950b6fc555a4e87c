#pragma once
// Gathering from the cell in front of the hero: berries, ore, wood, searching.

namespace morvath {

// The gather command (key W).
void GatherInFront();

}  // namespace morvath
