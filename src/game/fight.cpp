// Temporary: the fight engine replaces this file.
#include "game/fight.h"

namespace morvath {

void AttackNearby() {}
void StartFight(double, double) {}
void EnemyAttack() {}
void AlarmSoldiers() {}

}  // namespace morvath
