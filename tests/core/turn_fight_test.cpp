// A turn in which a character reaches the hero: the fight starts with that character, and
// only a character that hunts the hero starts one.
#include <gtest/gtest.h>

#include "game/fight_panel.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "test_support.h"
#include "world/game_state.h"
#include "world/turn.h"

using namespace morvath;

namespace {

TEST(TurnFight, OnlyAHunterThatReachesTheHeroStartsAFight) {
    struct Case {
        int tactic;
        float x;  // the hero stands at (10, 10)
        bool fight;
    } cases[] = {
        {kTacticApproach, 12, true},   // steps next to the hero, then strikes
        {kTacticApproach, 15, false},  // still too far after its step
        {kTacticStay, 11, false},      // next to him, yet it never moves
        {kTacticFlee, 11, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tactic * 100 + static_cast<int>(c.x));
        TempGameFolder folder;
        ScriptedFrontend ui;
        ResetGame();
        auto& g = modVarsAndMain;
        g.CreateRoots();
        for (int row = 0; row <= 40; ++row) g.TheWorld->SetRow(row, std::wstring(40, L'G'));
        g.Player->HP = g.Player->MaxHp = 50;
        g.PlayerX = g.PlayerY = 10;
        auto wolf = g.NPCs->Add();
        wolf->NPCName = L"Волк";
        wolf->Symbol = L"W";
        wolf->X = c.x;
        wolf->Y = 10;
        wolf->HP = 20;
        wolf->Tactic = c.tactic;
        SeedRandom(3);
        MoveAllNPCs();
        EXPECT_EQ(FightOn(), c.fight);
        if (c.fight) EXPECT_EQ(g.gameScreen.fight.enemy, wolf);
    }
}

}  // namespace
