#pragma once
// The wilderness map: its step upkeep with the encounter roll, the encounters themselves on a
// battleground made for the tile under the hero, the enter key, and the exit square that a
// quest opens.
#include <string>

namespace morvath {

// The wilderness map's enter key: the forest or plain around the hero, or the place recorded
// for his square.
void EnterWildLocation();
// One wilderness step's upkeep: maybe an encounter, then the hero's wilderness upkeep.
void RollWildEncounter();
// A random encounter on the tile under the hero ("G" grass or "Њ" forest).
void WildEncounter(const std::wstring& tile);
// Makes the current location a fresh plain ("G") or forest ("Њ"); other tiles make nothing.
void MakeBattleground(const std::wstring& tile);
// Opens the wilderness exit ("q" at column 40 of row 14) once its quest flag is set.
void PlaceWildExit();

}  // namespace morvath
