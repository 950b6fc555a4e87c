// Script commands that drop things at the speaking character's feet.
#include "script/command_call.h"
#include "world/game_state.h"
#include "world/item_templates.h"
#include "world/npc.h"

namespace morvath {

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
