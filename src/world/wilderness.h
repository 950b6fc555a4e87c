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
// The beasts of encounter kind k (0..11) for a hero of this level and luck: how the texts
// call a group of them, each one's name, symbol and death script, and the bases of their
// strength (A) and hit points (B).
struct WildBeasts {
    const wchar_t* plural;
    const wchar_t* name;
    const wchar_t* symbol;
    const wchar_t* dieScript;
    double A;
    double B;
};
WildBeasts BeastsFor(int k, double level, double luck);

// A random encounter on the tile under the hero ("G" grass or "Њ" forest).
void WildEncounter(const std::wstring& tile);
// Makes the current location a fresh plain ("G") or forest ("Њ"); other tiles make nothing.
void MakeBattleground(const std::wstring& tile);
// Opens the wilderness exit ("q" at column 40 of row 14) once its quest flag is set.
void PlaceWildExit();

}  // namespace morvath
