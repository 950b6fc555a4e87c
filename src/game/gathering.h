#pragma once
// Gathering from the cell in front of the hero: berries from a bush, ore from a mountain
// with a pickaxe, wood from a tree with an axe, and searching jars.
#include <string>

namespace morvath {

// The gather command (key W): the tile in front of the hero by FacingDir.
void GatherInFront();
// Runs the action of a tile at grid column `col`, row `row`: "?" berries, "w" ore, "B"
// felling, "!" searching; any other tile does nothing.
void GatherFromTile(const std::wstring& tile, int col, int row);
void PickBerries(int col, int row);
void MineOre(int col, int row);
void ChopTree(int col, int row);
void SearchPlace(int col, int row);

// The most places one visit of a location remembers as searched; beyond that a place can
// be searched again.
inline constexpr std::size_t kMaxSearchedPlaces = 100;

}  // namespace morvath
