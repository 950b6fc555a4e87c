#pragma once
// How the hero steps: which tiles can be entered from which side, the arrow keys, and the
// door step up into a door or gate.
#include <string>

namespace morvath {

// Tiles the hero can enter stepping down, left or right.
bool CanMove(const std::wstring& PositionMap);
// Tiles he can enter stepping up: doors and gates are entered only by the door step.
bool CanMoveUP(const std::wstring& PositionMap);

// An arrow key (virtual-key code 37..40): the hero turns, steps if he can and a turn passes.
// Returns true when the key took the door step, which has already run the location check.
bool ArrowKey(int KeyCode, int Shift);

}  // namespace morvath
