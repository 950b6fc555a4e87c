#pragma once
// The fight engine: fights are started by the F key, by characters that reach the hero, by
// scripts and skills.

namespace morvath {

// Starts a fight with the first character next to the hero, or says there is nobody.
void AttackNearby();
// Starts a fight with the character standing on hero-coordinate cell (x, y).
void StartFight(double x, double y);
// One blow of the current enemy.
void EnemyAttack();
// Every character named "Солдат" turns hostile.
void AlarmSoldiers();

// The hero's moves in a fight, one per button of the fight panel: strike, the curse, flee,
// fight on automatically (a bounded number of exchanges per click). Each acts only while a
// fight is on; game/fight_panel.h has the rest of the panel's rules.
void Strike();
void Curse();
void Flee();
void FightAutomatically();

}  // namespace morvath
