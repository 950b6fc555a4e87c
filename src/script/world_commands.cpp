// Script commands that make and change places.
#include "script/command_call.h"
#include "world/game_state.h"
#include "world/houses.h"
#include "world/item_templates.h"
#include "world/npc.h"

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

namespace {

// Things dropped at the speaking character's feet: that square becomes a heap, whatever
// fell (an empty heap answers "nothing lies here" and clears itself).
void MarkHeapUnder(const NPC& npc) {
    if (auto& world = modVarsAndMain.TheWorld) world->setPosMap(npc.Y + 3, npc.X + 3, L"9");
}

}  // namespace

// genweap(): 0 to 4 random weapons at the speaking character's feet.
Variant CmdGenWeap(CommandCall&) {
    NPC* npc = Speaker();
    if (!npc) return {};
    DropRandomWeapons(npc->X, npc->Y);
    MarkHeapUnder(*npc);
    return {};
}

// genitem(file): what falls from the item template \maps\<file> at the speaker's feet.
Variant CmdGenItem(CommandCall& c) {
    NPC* npc = Speaker();
    auto file = c.Arg(0);
    if (!npc || !file) return {};
    LoadMapItemFile(*file, npc->X, npc->Y);
    MarkHeapUnder(*npc);
    return {};
}

}  // namespace morvath
