#pragma once
// The parts of the story written as code: the evil ending and the fixed conversations
// that talk scripts start.
#include <string>

namespace morvath {

// The evil ending: the hero used the dragon stone with an evil heart and a ring.
void EvilEnding();
// The good ending: the hero consecrated the dragons' amulet.
void EndingGoodStone();
// A fixed conversation: "0" the magus, "1" the trader, "2" the torch seller (compared as a
// number); anything else does nothing.
void InTalk(const std::wstring& kind);

}  // namespace morvath
