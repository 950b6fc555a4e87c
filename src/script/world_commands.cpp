// Script commands that make and change places.
#include "script/command_call.h"
#include "world/game_state.h"
#include "world/houses.h"

namespace morvath {

// genhouse(name; target; X; Y): a new house location whose way out leads to (X, Y) of target.
Variant CmdGenHouse(CommandCall& c) {
    auto& spec = modVarsAndMain.HouseParams;
    if (auto a = c.Arg(0)) spec.HouseName = *a;
    if (auto a = c.Arg(1)) spec.ExitTarget = *a;
    if (auto a = c.Arg(2)) spec.ExitX = Val(*a);
    if (auto a = c.Arg(3)) spec.ExitY = Val(*a);
    CreateHouse(spec);
    return {};
}

}  // namespace morvath
