// Temporary: the gathering task replaces this file.
#include "game/gathering.h"

namespace morvath {

void GatherInFront() {}

}  // namespace morvath
