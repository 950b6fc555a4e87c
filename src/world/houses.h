#pragma once
// Houses made at random from the six templates in \intros\, for the script command genhouse.
#include <string>

#include "platform/files.h"
#include "platform/numbers.h"

namespace morvath {

struct HouseSpec {
    Integer ExitX;            // where the hero arrives when leaving the house
    Integer ExitY;
    std::wstring HouseName;   // the house's location id and file stem in the save folder
    std::wstring ExitTarget;  // the location the way out leads to
};

// Writes a new house location into \saved\. Nothing is written when the name is not a plain
// file stem or the template cannot be read; false then, and when a file could not be written
// (the player is then told).
bool CreateHouse(const HouseSpec& spec);

}  // namespace morvath
