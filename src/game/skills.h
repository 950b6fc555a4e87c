#pragma once
// The hero's skills: the skill list and running one skill.

namespace morvath {

// Fills the skill list from the skills table and shows it.
void ShowSkills();
// Runs the skill of the skill list's line `index`.
void UseSkill(int index);

}  // namespace morvath
