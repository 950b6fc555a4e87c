#include "world/wilderness.h"

#include "world/game_state.h"
#include "world/quest_flags.h"
#include "world/turn.h"

namespace morvath {

void EnterWildLocation() {
    auto& g = modVarsAndMain;
    if (g.TheWorld->WorldName != L"wild") return;
    Do_Change_Of_World();
    g.CurTile = g.TheWorld->GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    // Forest and plain squares lead nowhere: only a recorded place is entered.
    if (g.CurTile == L"B" || g.CurTile == L"\u040A" || g.CurTile == L"G") return;
    g.TheWorld->checkplace();
}

void RollWildEncounter() {
    auto& g = modVarsAndMain;
    g.CurTile = g.TheWorld->GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    g.Player->DoChangesWild();
}

void PlaceWildExit() {
    if (modVarsAndMain.QuestFlags[kFlagUralPass] != 0) modVarsAndMain.TheWorld->setPosMap(14, 40, L"q");
}

}  // namespace morvath
