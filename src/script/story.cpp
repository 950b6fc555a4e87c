#include "script/story.h"

namespace morvath {

void EvilEnding() {}
void EndingGoodStone() {}
void InTalk(const std::wstring&) {}

}  // namespace morvath
