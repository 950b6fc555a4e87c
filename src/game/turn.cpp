// Temporary: the movement rules replace this file.
#include "game/turn.h"

namespace morvath {

void Do_Change_Of_World() {}
void MoveAllNPCs() {}
void PutNPCsOnMap() {}

}  // namespace morvath
