#pragma once
// The made-up towns the turn and the key press are measured in: a new game with a healthy,
// fed hero in an empty town, and the townsfolk who crowd it.
#include <cstdint>
#include <string>

#include "platform/random.h"
#include "world/game_state.h"
#include "world/turn.h"

// A new game on the random source's seed, in a town named `name` whose grid is still empty.
inline void StartInTown(std::uint64_t seed, const std::wstring& name) {
    using namespace morvath;
    ResetGame();
    SeedRandom(seed);
    auto& g = modVarsAndMain;
    g.CreateRoots();
    g.Player->HP = 30;
    g.Player->MaxHp = 30;
    g.Player->Hungry = 500;
    g.TheWorld->WorldName = name;
    g.TheWorld->MapType = kMapTown;
}

// A townsman at (x, y) of the place, who keeps still or walks about at random; he stands on
// the grid once PutNPCsOnMap has run.
inline void AddTownsman(long x, long y, bool stays) {
    using namespace morvath;
    auto n = modVarsAndMain.NPCs->Add();
    n->NPCName = L"Житель";
    n->Symbol = L"Ж";
    n->Tactic = stays ? kTacticStay : kTacticRandomWalk;
    n->X = static_cast<float>(x);
    n->Y = static_cast<float>(y);
}
