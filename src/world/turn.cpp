#include "world/turn.h"

#include <exception>
#include <vector>

#include "world/game_state.h"
#include "world/wilderness.h"

namespace morvath {

void Do_Change_Of_World() {
    auto& g = modVarsAndMain;
    World& w = *g.TheWorld;
    // The day changes before this tick's turn is counted, so 1000 is seen for one tick.
    if (w.Turn >= 1000) {
        w.Day += 1;
        w.Turn = 0;
    }
    if (w.WorldName != L"wild") {
        g.Player->DoChanges();
        MoveAllNPCs();
        w.Turn += 1;
    } else {
        RollWildEncounter();
        w.Turn += 50;
    }
}

void MoveAllNPCs() {
    auto& g = modVarsAndMain;
    // A move can start a fight, and a fight or its scripts can remove characters or change
    // the location: each character moves only while it is still one of this location's, and
    // under its position of the moment.
    const std::vector<std::shared_ptr<NPC>> movers(g.NPCs->begin(), g.NPCs->end());
    // Where each character stands now: most turns change nobody's place in the collection,
    // and a removal moves everyone after it by the same step, so the place is looked for
    // where the last character was found before the whole collection is searched (a search
    // for every character makes a turn's cost the square of the crowd).
    long shift = 0;
    for (std::size_t k = 0; k < movers.size(); ++k) {
        const auto& npc = movers[k];
        long index = static_cast<long>(k) + 1 + shift;
        if (!g.NPCs->Holds(index, npc)) {
            index = g.NPCs->IndexOf(npc);
            if (index == 0) continue;
            shift = index - static_cast<long>(k) - 1;
        }
        try {
            npc->Do_Move(index);
        } catch (const std::exception&) {
            // One character's failed move does not stop the others.
        }
    }
}

void PutNPCsOnMap() {
    auto& g = modVarsAndMain;
    for (const auto& npc : *g.NPCs) g.TheWorld->setPosMap2(npc->Y + 3, npc->X + 3, npc->Symbol);
}

}  // namespace morvath
