#pragma once
// The fight panel's rules besides its four buttons (declared with the fight engine in
// game/fight.h). Each click is one exchange, the hero's action and then the enemy's answer,
// unless the fight is over. The panel's texts and bars live in modVarsAndMain.gameScreen.fight;
// the window only shows them.
#include <memory>
#include <string>

#include "world/npc.h"

namespace morvath {

// How many exchanges one click of the automatic fight plays at most. Against an enemy
// neither side can hurt (a strength-0 tramp and a hero who cannot land a blow) the loop
// would otherwise never end; the fight stays on and the player may click again.
constexpr int kAutoFightExchanges = 100;

// True while a fight is on. A panel whose enemy is no longer among NPCs (a spell or script
// killed it, the hero changed location) is closed first.
bool FightOn();

// --- Shared by the fight engine and the panel ---

// The panel's enemy while it is still among NPCs; otherwise the panel closes and this is
// nothing.
std::shared_ptr<NPC> FightEnemy();
// The fight is over, however it ended; the status line catches up with it.
void CloseFightPanel();
// Recomputes both life bars from the current hit points.
void UpdateLifeBars();
// One line with the dead character's name at the end of the kill log.
void AppendKillLog(const std::wstring& name);
// The experience and strength a kill gives, for an enemy of strength eS.
void KillReward(double eS);
// The dead enemy's death script runs (as the speaker of it), then it leaves NPCs if the
// script has not already taken it away.
void BuryEnemy(const std::shared_ptr<NPC>& enemy);

// Tunes of the fight.
void PlayFightTune();
void PlayTownTune();
void CloseFightTune();

}  // namespace morvath
