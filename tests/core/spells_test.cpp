// The five spells of the spell list and key Z: mana, what each does, and the lightning's and
// the fireball's pictures on the view.
#include "skill_fixture.h"

using namespace morvath;

namespace {

using Spells = SkillTest;

TEST_F(Spells, EachSpellNeedsMoreManaThanItCosts) {
    struct Case {
        void (*cast)();
        bool GameState::*known;
        double mana;
        double manaAfter;
        double magicGain;
        bool refused;
    };
    const Case cases[] = {
        {&CastFireball, &GameState::FireballKnown, 12, 12, 0, true},
        {&CastFireball, &GameState::FireballKnown, 12.01, 0.01, 0.05, false},
        {&CastLightning, &GameState::LightningKnown, 4, 4, 0.02, true},  // a try still teaches
        {&CastLightning, &GameState::LightningKnown, 4.01, 0.01, 0.02, false},
        {&CastHealingLight, &GameState::HealingKnown, 8, 8, 0, true},
        {&CastHealingLight, &GameState::HealingKnown, 8.01, 0.01, 0.02, false},
        {&CastNight, &GameState::NightKnown, 2, 2, 0, true},
        {&CastNight, &GameState::NightKnown, 2.01, 0.01, 0.02, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mana);
        g().*c.known = true;
        g().Darkness = false;
        g().screen.txtSpeech.clear();
        hero().Mana = c.mana;
        hero().Magic = 1;
        hero().HP = 3;
        c.cast();
        EXPECT_NEAR(hero().Mana, c.manaAfter, 1e-9);
        EXPECT_NEAR(hero().Magic, 1 + c.magicGain, 1e-9);
        EXPECT_EQ(Said() == Says(L"У вас не хватает маны"), c.refused);
        if (c.known == &GameState::HealingKnown) EXPECT_EQ(hero().HP, c.refused ? 3 : 20);
        if (c.known == &GameState::NightKnown) EXPECT_EQ(g().Darkness, !c.refused);
    }
}

TEST_F(Spells, AnUnknownSpellDoesNothingButCutWeedsAndLightningNeedNoFlag) {
    hero().Mana = 50;
    for (auto cast : {&CastFireball, &CastHealingLight, &CastNight}) cast();
    EXPECT_EQ(hero().Mana, 50);
    EXPECT_EQ(hero().Magic, 0);
    EXPECT_FALSE(g().Darkness);
    CastLightning();
    EXPECT_EQ(hero().Mana, 46);
}

TEST_F(Spells, CutWeedsClearsOnlyAWeedInFront) {
    Put(5, 6, L"<");
    CastCutWeeds();
    EXPECT_EQ(At(5, 6), L"G");
    EXPECT_EQ(g().CurTile, L"<");
    Put(5, 6, L"T");
    CastCutWeeds();
    EXPECT_EQ(At(5, 6), L"T");
    EXPECT_NEAR(hero().Magic, 0.02, 1e-9);
}

TEST_F(Spells, LightningKillsAtSixteenAndLeavesSeventeenAtOne) {
    hero().Mana = 100;
    auto other = AddNpc(L"Купец", 9, 9, 40);
    auto sameColumn = AddNpc(L"Пёс", 5, 9, 40);
    auto sameRow = AddNpc(L"Кот", 9, 6, 40);
    auto weak = AddNpc(L"Волк", 5, 6, 16, true);
    g().ScriptNPCIndex = 1;
    CastLightning();
    // The strike shows on the map during its pause, with the keys held.
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].keysBlocked);
    EXPECT_FALSE(g().AnimationRunning);
    EXPECT_FALSE(g().NPCs->Contains(weak));
    EXPECT_EQ(Said(), Says(L"Волк:конец"));  // the dead speaks its own death
    EXPECT_EQ(At(5, 6), L"G");
    EXPECT_EQ(hero().Exp, 0);
    for (const auto& bystander : {other, sameColumn, sameRow}) {
        EXPECT_EQ(bystander->HP, 40);
        EXPECT_FALSE(bystander->Tactic == kTacticApproach);
    }

    auto strong = AddNpc(L"Медведь", 5, 6, 17);
    strong->Symbol = L"b";
    CastLightning();
    EXPECT_EQ(strong->HP, 1);
    EXPECT_EQ(strong->Tactic, kTacticApproach);
    EXPECT_EQ(At(5, 6), L"b");
    EXPECT_EQ(hero().Mana, 92);
}

TEST_F(Spells, TheFireballFliesCellByCellToTheEdgeOfTheView) {
    struct Case {
        int facing;
        Pic picture;
        int steps;
        int dx, dy;
    };
    const Case cases[] = {
        {1, Pic::fireball3, 5, 0, -1},
        {2, Pic::fireball1, 4, 0, 1},
        {3, Pic::fireball4, 4, 1, 0},
        {4, Pic::fireball2, 5, -1, 0},
    };
    g().FireballKnown = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.facing);
        frames.clear();
        g().FacingDir = c.facing;
        hero().Mana = 13;
        CastFireball();
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(c.steps));
        for (int k = 1; k <= c.steps; ++k) {
            const Frame& f = frames[static_cast<std::size_t>(k - 1)];
            EXPECT_TRUE(f.shown && f.keysBlocked);
            EXPECT_EQ(f.picture, c.picture);
            EXPECT_EQ(f.x, 160 + 32 * k * c.dx);
            EXPECT_EQ(f.y, 160 + 32 * k * c.dy);
        }
        EXPECT_FALSE(g().gameScreen.view.flyingShown);
        EXPECT_FALSE(g().AnimationRunning);
    }
}

TEST_F(Spells, TheFireballBurnsABandThreeCellsWideAsFarAsItFlies) {
    g().FireballKnown = true;
    g().FacingDir = 1;  // up: five cells, rows 4..0
    auto farthest = AddNpc(L"Волк", 5, 0, 10);
    auto beyond = AddNpc(L"Волк", 5, -1, 10);
    auto beside = AddNpc(L"Волк", 6, 2, 10);
    auto wide = AddNpc(L"Волк", 7, 2, 10);
    auto tough = AddNpc(L"Медведь", 4, 3, 30);
    auto good = AddNpc(L"Купец", 5, 1, 14.5, true);
    auto edge = AddNpc(L"Лось", 4, 1, 15);
    auto soldier = AddNpc(L"Солдат", 20, 20, 50, true);
    g().ScriptNPCIndex = 5;  // the bear, who must not speak for the dead
    hero().Mana = 20;
    good->Good = false;
    FireballHitAt(5, 0);  // killing the wicked alarms nobody
    EXPECT_FALSE(g().NPCs->Contains(farthest));
    EXPECT_TRUE(soldier->Good);
    good->Good = true;
    SeedRandom(3);
    CastFireball();
    EXPECT_GE(edge->HP, 1);
    EXPECT_LE(edge->HP, 5);
    for (const auto& dead : {farthest, beside, good}) EXPECT_FALSE(g().NPCs->Contains(dead));
    for (const auto& alive : {beyond, wide, tough, edge, soldier}) EXPECT_TRUE(g().NPCs->Contains(alive));
    EXPECT_EQ(hero().Exp, 3);
    EXPECT_GE(tough->HP, 16);
    EXPECT_LE(tough->HP, 20);
    EXPECT_EQ(tough->Tactic, kTacticApproach);
    EXPECT_EQ(wide->HP, 10);
    // Killing the good merchant raised the soldiers; the last to die spoke for itself.
    EXPECT_EQ(soldier->Tactic, kTacticApproach);
    EXPECT_FALSE(soldier->Good);
    EXPECT_EQ(Said(), Says(L"Купец:конец"));
}

TEST_F(Spells, KeyZRepeatsTheFirstFourSpellsOnly) {
    struct Case {
        int last;
        double manaSpent;
        bool weedCut;
    };
    const Case cases[] = {{1, 0, true}, {2, 4, false}, {3, 12, false}, {4, 8, false}, {5, 0, false}, {6, 0, false}};
    g().FireballKnown = g().HealingKnown = g().NightKnown = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        Put(5, 6, L"<");
        hero().Mana = 50;
        g().LastSpell = c.last;
        RepeatLastSpell();
        EXPECT_EQ(50 - hero().Mana, c.manaSpent);
        EXPECT_EQ(At(5, 6) == L"G", c.weedCut);
        EXPECT_FALSE(g().Darkness);
    }
}

}  // namespace
