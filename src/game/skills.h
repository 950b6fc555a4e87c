#pragma once
// The hero's skills: the skill list, running one skill, and the rules the skills share.
#include <string>

namespace morvath {

// Fills the skill list with every named row of the skills table and shows it.
void ShowSkills();
// The skills table's row shown on the skill list's line (-1, no line selected, is the
// first line); -1 when the line shows no row.
int SkillRowOfLine(int line);
// Runs the skill of the skills table's row `index` (-1 is row 0).
void UseSkill(int index);
// The smithing choice list was confirmed on `line`: forges what that line says.
void ForgeChosen(int line);

// The offset of the cell in front of the hero by FacingDir; false for no direction.
bool FacingOffset(int& dx, int& dy);
// The map character of the cell in front of the hero ("" for no direction).
std::wstring GetFacingTile();

}  // namespace morvath
