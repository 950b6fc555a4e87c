#include "game/movement.h"

#include <string_view>

#include "game/keymap.h"
#include "game/screen.h"
#include "world/game_state.h"
#include "world/turn.h"

namespace morvath {
namespace {

// "п" is the Cyrillic letter (a stump), "Њ" the forest.
constexpr std::wstring_view kPassable = L"\u043F9Gq+{";
constexpr std::wstring_view kPassableUp = L"\u043F9G{";
constexpr std::wstring_view kPassableWild = L"B\u040A1q?vcRE";
constexpr std::wstring_view kPassableWildUp = L"B\u040A1q?#vcRE";
// Tiles that the up key enters as a door: the step runs the location check at once.
constexpr std::wstring_view kDoors = L"#\u2019q+";

bool OneOf(const std::wstring& tile, std::wstring_view set) {
    return tile.size() == 1 && set.find(tile[0]) != std::wstring_view::npos;
}

bool Passable(const std::wstring& tile, std::wstring_view everywhere, std::wstring_view wildToo) {
    auto& g = modVarsAndMain;
    if (g.TheWorld->WorldName == L"wild") {
        g.screen.lblII = L"Равнины...";
        if (OneOf(tile, wildToo)) return true;
    }
    return OneOf(tile, everywhere);
}

}  // namespace

bool CanMove(const std::wstring& PositionMap) { return Passable(PositionMap, kPassable, kPassableWild); }
bool CanMoveUP(const std::wstring& PositionMap) { return Passable(PositionMap, kPassableUp, kPassableWildUp); }

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
        if (KeyCode == kVkUp && w.WorldName != L"wild" && OneOf(g.CurTile, kDoors)) {
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
