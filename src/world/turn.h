#pragma once
// The turn tick and the characters' moves.

namespace morvath {

// One game turn: the clock, the hero's upkeep and every character's move (or, on the
// wilderness map, the encounter roll).
void Do_Change_Of_World();
// Every character of NPCs makes one move, in collection order.
void MoveAllNPCs();
// Writes every character's symbol into the grid at its position.
void PutNPCsOnMap();

}  // namespace morvath
