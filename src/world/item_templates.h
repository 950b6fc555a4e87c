#pragma once
// Items the world hands out at random (the weapon table's rows and the item template files
// of \maps\), the item bonus code worn items carry, and the cells searched in this location.
#include <string>

namespace morvath {

// Columns of the weapon table (modVarsAndMain.WeaponsTable).
enum WeaponColumn : int {
    kWpName = 0, kWpWeaponPlus = 1, kWpDefendPlus = 2, kWpCritical = 3, kWpWeight = 4,
    kWpSkillPlus = 5, kWpType = 6, kWpInfo = 7,
};

// Drops 0 to 4 weapons drawn from rows 0..39 of the weapon table onto the floor at (x, y);
// an empty row drawn is a drop of nothing. The tile underneath is left to the caller.
void DropRandomWeapons(double x, double y);
// Each record of the template file \maps\<file> falls onto the floor at (x, y) with chance
// 1/(k + 3), k being the file's length over 80 bytes. A name that is not a plain file name,
// a missing file or a bad record ends the draw; what fell already stays.
void LoadMapItemFile(const std::wstring& file, double x, double y);
// Applies a bonus code such as "St+2" to the hero: mode +1 when the item goes on, -1 when
// it comes off. Unknown keys and signs change nothing.
void ApplySkillPlus(const std::wstring& code, int mode);

}  // namespace morvath
