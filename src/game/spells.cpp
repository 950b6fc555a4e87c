#include "game/spells.h"

namespace morvath {

void CastCutWeeds() {}
void CastLightning() {}
void CastFireball() {}
void CastHealingLight() {}
void CastNight() {}
void RepeatLastSpell() {}

}  // namespace morvath
