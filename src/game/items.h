#pragma once
// Carried and floor items: picking up, looking, dropping, using, the inventory picker's
// lists and the equipment screen's door.
#include <memory>
#include <string>

#include "world/item.h"

namespace morvath {

// The picker's line of an item: "Еда  (2шт.)", or for weapons, shields and clothing
// "Кинжал[5,0] (70%)  (1шт.)".
std::wstring PlainLine(const Item& item);
std::wstring WeaponLine(const Item& item);
// True for the kinds listed with their bonuses: weapons, shields, legs, body and head.
bool ListedWithBonuses(long kind);

// Picks up one item from the hero's square.
// A new item in the bag, one piece, and the current item from now on.
std::shared_ptr<Item> NewCarried(const std::wstring& name, long kind, const std::wstring& info, double weight);

void PickUpItems();
// The items lying on the hero's square, one line each, in the speech box.
void LookAtFloor();
// The picker with every named carried item; PickedIndex becomes the inventory position of
// the item picked (0 for none).
void ShowInventory();
// The player chooses a carried item, which is dropped on the hero's square (one piece).
void DropItem();
// The player chooses a carried item, which is used.
void UseItem();
// The player chooses a carried item of one kind: its 1-based inventory position, 0 for none.
int ChooseItemOfKind(long kind);
// The player chooses any carried item: its 1-based inventory position, 0 for none.
int ChooseCarriedItem();
// Opens the equipment screen and waits until it closes.
void ShowEquipForm();
// The tile under the hero becomes plain ground.
void ClearPlayerCell();

}  // namespace morvath
