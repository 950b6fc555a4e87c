#pragma once
// The five spells of the spell list, and repeating the last one (key Z).

namespace morvath {

void CastCutWeeds();
void CastLightning();
void CastFireball();
void CastHealingLight();
void CastNight();
// Casts again the spell named by LastSpell (1..5); anything else does nothing.
void RepeatLastSpell();

}  // namespace morvath
