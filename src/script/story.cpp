#include "script/story.h"

namespace morvath {

void EvilEnding() {}
void InTalk(const std::wstring&) {}

}  // namespace morvath
