#pragma once
// The one save slot: the current location's files plus five files in \saved\ for the hero
// and the global state (inven, char.itm, char.ch, q.q, attribs).
#include "platform/files.h"

namespace morvath {

// Every file of the save folder: the hero's files and every location visited.
void DeleteSaveSet();
// The kill log beside the game, one killed character's name per line.
fs::path KillLogPath();

// Writes the current location and the five files, each replaced whole. On failure the
// player is told and false comes back: the caller must not end the program then, so that
// saving can be tried again.
bool SaveGame();

// Reads the save set into the model roots the caller has just created. On failure the
// player is told "Сохранений нет...." and false comes back; what was read stays in the
// roots for the caller to discard.
bool LoadGame();

}  // namespace morvath
