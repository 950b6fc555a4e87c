#include "game/movement.h"

#include <string_view>

#include "game/keymap.h"
#include "game/screen.h"
#include "game/turn.h"
#include "world/game_state.h"

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
    switch (KeyCode) {
        case kVkUp: g.FacingDir = 1; break;
        case kVkDown: g.FacingDir = 2; break;
        case kVkRight: g.FacingDir = 3; break;
        case kVkLeft: g.FacingDir = 4; break;
        default: return false;
    }
    if (!g.Player->CheckWeight()) {
        g.screen.lblII = L"Невозможно идти дальше - вы перегружены донельзя!";
    } else if (Shift != kShiftMask) {
        const int x = g.PlayerX, y = g.PlayerY;
        bool moved = false;
        // The grid answers "" beyond its edges, which no rule lets the hero enter.
        switch (KeyCode) {
            case kVkUp:
                g.CurTile = w.GetPosMap(x + 3, y + 2);
                if (CanMoveUP(g.CurTile) && y - 1 > 0) {
                    g.PlayerY = y - 1;
                    moved = true;
                }
                break;
            case kVkDown:
                g.CurTile = w.GetPosMap(x + 3, y + 4);
                if (CanMove(g.CurTile)) {
                    g.PlayerY = y + 1;
                    moved = true;
                }
                break;
            case kVkRight:
                g.CurTile = w.GetPosMap(x + 4, y + 3);
                if (CanMove(g.CurTile)) {
                    g.PlayerX = x + 1;
                    moved = true;
                }
                break;
            case kVkLeft:
                g.CurTile = w.GetPosMap(x + 2, y + 3);
                if (CanMove(g.CurTile) && x - 1 > 0) {
                    g.PlayerX = x - 1;
                    moved = true;
                }
                break;
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
