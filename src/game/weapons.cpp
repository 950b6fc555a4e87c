#include "game/weapons.h"

#include "platform/textforms.h"
#include "world/game_state.h"

namespace morvath {

WeaponsTableRows& WeaponsTable() { return modVarsAndMain.WeaponsTable; }

void LoadWeaponsTable() {
    auto reader = TextReader::Open(GamePath(L"\\maps\\weapons.dat"));
    if (!reader) return;
    auto& table = WeaponsTable();
    for (int row = 0; row <= 80 && !reader->AtEnd(); ++row) {
        std::wstring name, skillPlus, info;
        double weaponPlus = 0, defendPlus = 0, critical = 0, weight = 0, type = 0;
        if (!reader->ReadText(name) || !reader->ReadNumber(weaponPlus) || !reader->ReadNumber(defendPlus) ||
            !reader->ReadNumber(critical) || !reader->ReadNumber(weight) || !reader->ReadText(skillPlus) ||
            !reader->ReadNumber(type) || !reader->ReadText(info)) {
            return;
        }
        table[static_cast<std::size_t>(row)] = {Variant(name), Variant(weaponPlus), Variant(defendPlus), Variant(critical),
                                                Variant(weight), Variant(skillPlus), Variant(type), Variant(info)};
    }
}

}  // namespace morvath
