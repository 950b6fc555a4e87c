// Temporary: the items task replaces this file (using an item: the dragon stone, reading,
// the item's script).
#include "world/item.h"

namespace morvath {

void Item::DoAction() {}

}  // namespace morvath
