#include "game/items.h"

namespace morvath {

void PickUpItems() {}
void DropItem() {}
void UseItem() {}
int ChooseItemOfKind(long) { return 0; }
int ChooseCarriedItem() { return 0; }
void ShowEquipForm() {}

}  // namespace morvath
