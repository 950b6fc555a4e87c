#pragma once
// The wilderness map: its step upkeep with the encounter roll, the enter key, and the exit
// square that a quest opens.

namespace morvath {

// The wilderness map's enter key: the forest or plain around the hero, or the place recorded
// for his square.
void EnterWildLocation();
// One wilderness step's upkeep: maybe an encounter, then the hero's wilderness upkeep.
void RollWildEncounter();
// Opens the wilderness exit ("q" at column 40 of row 14) once its quest flag is set.
void PlaceWildExit();

}  // namespace morvath
