// Drawing the view: which picture stands in each of the 10 x 10 cells around the hero.
#include "world/game_state.h"
#include "world/tile_painters.h"

namespace morvath {
namespace {

using Painter = void (*)(const std::wstring&, View&, int, int);

// The one draw behind the five kinds: the kinds differ in their painter, and the wilderness
// map in having no darkness.
void DrawWith(World& w, View& view, Painter paint, bool wild) {
    auto& g = modVarsAndMain;
    const long px = g.PlayerX, py = g.PlayerY;
    // The view's right edge follows grid row 1 and its bottom edge row 51, whatever the rows
    // between hold.
    const long rowOneLength = static_cast<long>(w.Row(1).size());
    for (int dy = View::kFirst; dy <= View::kLast; ++dy) {
        for (int dx = View::kFirst; dx <= View::kLast; ++dx) {
            w.DrawSkip = false;
            if (py + dy < 1 || px + dx < 1 || px + dx > rowOneLength || py + dy > 51) {
                w.DrawNothing(dx, dy, view);
            } else {
                g.CurTile = w.GetPosMap(static_cast<double>(px + dx + 1), static_cast<double>(py + dy + 1));
                paint(g.CurTile, view, dx, dy);
            }
            if (!wild && g.Darkness) w.DrawNothing(dx, dy, view);
        }
    }
    w.CharacterMovements(view);
    ++view.serial;
}

}  // namespace

void World::DrawWorld(View& view) {
    switch (static_cast<int>(MapType)) {
        case kMapTown: DrawNormal(view); break;
        case kMapWild: DrawWild(view); break;
        case kMapHouse: DrawHouse(view); break;
        case kMapForest: DrawForest(view); break;
        case kMapCave: DrawCave(view); break;
        default: break;  // an unknown kind draws nothing
    }
}

void World::DrawNormal(View& view) { DrawWith(*this, view, DrawTileNormal, false); }
void World::DrawWild(View& view) { DrawWith(*this, view, DrawTileWild, true); }
void World::DrawHouse(View& view) { DrawWith(*this, view, DrawTileHouse, false); }
void World::DrawForest(View& view) { DrawWith(*this, view, DrawTileForest, false); }
void World::DrawCave(View& view) { DrawWith(*this, view, DrawTileCave, false); }

void World::DrawNothing(int dx, int dy, View& view) {
    view.Cell(dx, dy) = Pic::imgNothing;
    DrawSkip = true;
}

void World::CharacterMovements(View& view) {
    const auto& g = modVarsAndMain;
    const HeroPictures& hero = g.gameScreen.hero;
    view.heroShown = false;
    if (g.Darkness) return;
    switch (static_cast<int>(g.FacingDir)) {
        case 1: view.hero = hero.up; break;
        case 2: view.hero = hero.down; break;
        case 3: view.hero = hero.right; break;
        case 4: view.hero = hero.left; break;
        default: return;
    }
    view.heroShown = true;
}

}  // namespace morvath
