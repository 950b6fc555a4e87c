#pragma once
// Carried and floor items: picking up, dropping, using, choosing, the equipment screen.

namespace morvath {

// Picks up one item from the hero's square.
void PickUpItems();
// The player chooses a carried item, which is dropped on the hero's square.
void DropItem();
// The player chooses a carried item, which is used.
void UseItem();
// The player chooses a carried item of one kind: its 1-based inventory position, 0 for none.
int ChooseItemOfKind(long kind);
// The player chooses any carried item: its 1-based inventory position, 0 for none.
int ChooseCarriedItem();
// Opens the equipment screen and waits until it closes.
void ShowEquipForm();

}  // namespace morvath
