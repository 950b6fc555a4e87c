#include "game/gathering.h"

namespace morvath {

void GatherInFront() {}

}  // namespace morvath
