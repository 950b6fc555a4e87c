#include "game/skills.h"

namespace morvath {

void ShowSkills() {}
void UseSkill(int) {}

}  // namespace morvath
