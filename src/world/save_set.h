#pragma once
// The one save slot: the current location's files plus five files in \saved\ for the hero
// and the global state (inven, char.itm, char.ch, q.q, attribs).
#include "platform/file_set.h"

namespace morvath {

// \saved\ as the running game uses it: every file the game writes there (a location left,
// a house made, the save itself) goes to staging first and is read from there while it is
// newer; only SaveGame moves them all in, together. After a crash the folder holds the last
// save, whole, and what the game wrote after it is dropped.
StagedFolder SaveFolder();
// At the start of the program and before a load: finishes a save that a crash cut short,
// else drops what was written after the last save; removes the temporary files a crash left
// in the save folder and the game folder. The player is told when the last save's record
// was damaged (the save before it is kept). False, after telling the player, when the save
// folder is a link out of the game folder: the game writes and removes nothing there.
bool FinishInterruptedWrites();
// Whether the save folder is a link out of the game folder; the player is told when it is.
bool SaveFolderLeadsOut();

// Every file of the save folder: the hero's files and every location visited, saved or not.
// True when they are all gone.
bool DeleteSaveSet();

// A place whose changes could not be written when the hero had to leave it: the next save
// says so rather than report success over them.
void LostChangesOf(const std::wstring& place);
// The kill log beside the game, one killed character's name per line.
fs::path KillLogPath();

// Writes the current location and the five files, and with them every location left since
// the last save, as one change of the folder. On failure the player is told, the folder
// keeps the previous save whole, and false comes back: the caller must not end the program
// then, so that saving can be tried again. A save made after changes were lost says so.
bool SaveGame();

// Reads the save set into the model roots the caller has just created, after finishing or
// dropping what a crash interrupted. On failure the player is told ("Сохранений нет...."
// when there is no hero's file, else which file could not be read) and false comes back;
// what was read stays in the roots for the caller to discard.
bool LoadGame();

}  // namespace morvath
