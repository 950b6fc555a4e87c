#pragma once
// The five tile painters: each turns a tile character into the picture that a map of its
// kind shows for it. The alphabet and its per-kind meanings live in one table
// (tile_painters.cpp), so that `k` can be a chicken in town and a wall inside a house.
#include <optional>
#include <string>

#include "world/view.h"
#include "world/world.h"

namespace morvath {

// The picture a painter of that kind shows for the tile; nothing when the painter does not
// know the character. Animated tiles draw their frame, town water its fish, at every call,
// from the cosmetic random source: painting never moves the game's own.
std::optional<Pic> TilePicture(MapKind kind, wchar_t tile);

// Paint `tile` into view cell (dx, dy). A tile the painter does not know, or no tile at all
// (past a row's end), shows black rather than whatever an earlier view left in the cell.
void DrawTileNormal(const std::wstring& tile, View& view, int dx, int dy);
void DrawTileWild(const std::wstring& tile, View& view, int dx, int dy);
void DrawTileHouse(const std::wstring& tile, View& view, int dx, int dy);
void DrawTileForest(const std::wstring& tile, View& view, int dx, int dy);
void DrawTileCave(const std::wstring& tile, View& view, int dx, int dy);

}  // namespace morvath
