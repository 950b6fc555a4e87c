#include "world/equipment.h"

#include "world/game_state.h"

namespace morvath {

void CalculateWeapons() {
    auto& g = modVarsAndMain;
    auto W = [&](int s) { return g.Equip[static_cast<std::size_t>(s)][kEqWeaponPlus].ToNumber(); };
    auto D = [&](int s) { return g.Equip[static_cast<std::size_t>(s)][kEqDefendPlus].ToNumber(); };
    auto C = [&](int s) { return g.Equip[static_cast<std::size_t>(s)][kEqCritical].ToNumber(); };
    auto& p = *g.Player;
    p.Weapon = W(0) / 2 + W(1) / 2 + W(2) + W(3) + W(4) / 2 + W(5) / 2 + 1;
    p.Defence = D(0) / 2 + D(1) / 4 + D(2) / 2 + D(3) + D(4) + D(5) / 2;
    p.Critical = (C(2) + C(3)) / 60;
}

}  // namespace morvath
