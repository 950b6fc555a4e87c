#pragma once
// Putting items on and taking them off: the equipment screen's rules. Worn items live in
// modVarsAndMain.Equip, not in the inventory: putting on moves one piece out of the
// inventory, taking off moves it back.
#include <string>

namespace morvath {

// Writes the six slot captions ("Голова[A]:" & name & "[" & attack & "," & defence & "]")
// and recomputes the carried weight.
void REFRESHAtt();
// Puts one piece of the carried item at inventory position `nw` into slot `idx`.
void ChangeItem(int idx, long nw);
// Takes the item in slot `idx` back into the inventory.
void RemItem(int idx);

// A slot label clicked or its key (A..F) pressed: an empty slot asks for an item to put
// on, a full one is emptied.
void ToggleSlot(int slot);
// A key on the equipment screen; true when the screen closes (Esc).
bool EquipScreenKey(int KeyCode);
// The double click that closes the screen after working out the hero's magic anew.
void CloseEquipScreenWithMagic();

}  // namespace morvath
