#pragma once
// The parts of the story written as code: the two endings, and the fixed conversations that
// talk scripts start with intalk.
#include <string>

namespace morvath {

// The evil ending: the hero used the dragon stone with an evil heart and a ring in his pack.
void EndingEvilStone();
// The good ending: the hero consecrated the dragon amulet. A monk goes home to his
// monastery; anyone else lives on in the churches' tale.
void EndingGoodStone();
// A fixed conversation: "0" the magus, "1" the trader, "2" the torch seller (compared as a
// number); anything else does nothing.
void SpecialNpcTalk(const std::wstring& kind);

}  // namespace morvath
