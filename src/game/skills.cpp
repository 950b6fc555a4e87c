// Temporary: the skills task replaces this file.
#include "game/skills.h"

namespace morvath {

void ShowSkills() {}
void UseSkill(int) {}

}  // namespace morvath
