#include "game/movement.h"

#include "game/keymap.h"
#include "game/screen.h"
#include "world/game_state.h"
#include "world/tiles.h"
#include "world/turn.h"

namespace morvath {
namespace {

bool Passable(const std::wstring& tile, unsigned everywhere, unsigned wildToo) {
    auto& g = modVarsAndMain;
    if (g.TheWorld->WorldName == L"wild") {
        g.screen.lblII = L"Равнины...";
        if (TileAllows(tile, wildToo)) return true;
    }
    return TileAllows(tile, everywhere);
}

}  // namespace

bool CanMove(const std::wstring& PositionMap) { return Passable(PositionMap, kHeroSteps, kWildSteps); }
bool CanMoveUP(const std::wstring& PositionMap) { return Passable(PositionMap, kHeroStepsUp, kWildStepsUp); }

bool ArrowKey(int KeyCode, int Shift) {
    auto& g = modVarsAndMain;
    World& w = *g.TheWorld;
    bool doorStep = false;
    int facing = 0, dx = 0, dy = 0;
    switch (KeyCode) {
        case kVkUp: facing = 1, dy = -1; break;
        case kVkDown: facing = 2, dy = 1; break;
        case kVkRight: facing = 3, dx = 1; break;
        case kVkLeft: facing = 4, dx = -1; break;
        default: return false;
    }
    g.FacingDir = facing;
    if (!g.Player->CheckWeight()) {
        g.screen.lblII = L"Невозможно идти дальше - вы перегружены донельзя!";
    } else if (Shift != kShiftMask) {
        const int x = g.PlayerX, y = g.PlayerY;
        // The grid answers "" beyond its edges, which no rule lets the hero enter; at the top
        // and left the hero also keeps to coordinates of 1 and more.
        g.CurTile = w.GetPosMap(x + 3 + dx, y + 3 + dy);
        const bool passable = KeyCode == kVkUp ? CanMoveUP(g.CurTile) : CanMove(g.CurTile);
        const bool moved = passable && (dx >= 0 || x + dx > 0) && (dy >= 0 || y + dy > 0);
        if (moved) {
            g.PlayerX = x + dx;
            g.PlayerY = y + dy;
        }
        if (moved && g.CurTile == L"9") g.screen.lblII = L"Несколько вещей... ";
        if (KeyCode == kVkUp && w.WorldName != L"wild" && TileAllows(g.CurTile, kDoorUp)) {
            g.PlayerY -= 1;
            doorStep = true;
            w.checkplace();
        }
    }
    if (KeyCode == kVkRight || KeyCode == kVkLeft) HideSpeech();
    Do_Change_Of_World();
    return doorStep;
}

}  // namespace morvath
