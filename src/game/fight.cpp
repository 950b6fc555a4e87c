// Temporary: the fight engine replaces this file.
#include "game/fight.h"

namespace morvath {

void AttackNearby() {}
void StartFight(double, double) {}
void EnemyAttack() {}
void AlarmSoldiers() {}
void btnStrike_Click() {}
void btnMage_Click() {}
void cmdRun_Click() {}
void cmdAuto_Click() {}

}  // namespace morvath
