#pragma once
// One thing the hero can carry, wear, eat or read, or that lies on a location's floor.
#include <string>

#include "platform/numbers.h"
#include "world/collections.h"

namespace morvath {

// Item kinds (`Item::ItemType`).
enum ItemKind : int {
    kWeapon = 1,       // weapon or hand tool
    kShield = 2,       // defensive hand item
    kFood = 4,
    kFuel = 5,         // logs, wood: the campfire
    kDrink = 6,        // potion
    kRing = 8,         // needed with the dragon stone
    kBerry = 9,
    kPowder = 10,
    kOre = 11,
    kArtifact = 12,    // the cave's ring of revival
    kLegs = 13,
    kBody = 14,
    kHead = 15,
    kNeck = 16,
    kBook = 17,
    kWriting = 18,     // readable writing
    kBow = 20,
    kArrows = 21,
};

struct Item {
    std::wstring ItemName;
    float X = 0;              // hero-coordinate position of a floor item
    float Y = 0;
    std::wstring ItemInfo;
    Integer ItemCount;        // pieces beyond the first: 0 is one piece
    std::wstring ItemScript;  // "", " " and "0" mean none
    double Weight = 0;        // of one piece
    Integer DefendPlus;
    Integer WeaponPlus;
    std::wstring SkillPlus;   // attribute modifier while worn
    Integer Critical;
    Long itembalance;         // 1 holy, -1 evil, 0 neither
    Long ItemType;

    // Uses the item: the dragon stone, reading, then the item's own script.
    void DoAction();
};

// The hero's inventory and each location's floor items. `Remove` of a position that does
// not exist is refused (RemoveAt returns false); callers check positions first.
using ItemCol = Collection<Item>;

}  // namespace morvath
