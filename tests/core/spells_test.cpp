// The five spells of the spell list and key Z: mana, what each does, and the lightning's and
// the fireball's pictures on the view.
#include <cmath>
#include <tuple>

#include "skill_fixture.h"

using namespace morvath;

namespace {

using Spells = SkillTest;

TEST_F(Spells, EachSpellNeedsMoreManaThanItCosts) {
    const struct { void (*cast)(); bool GameState::*known; double mana, manaAfter, magicGain; bool refused; } cases[] = {
        {&CastFireball, &GameState::FireballKnown, 12, 12, 0, true},
        {&CastFireball, &GameState::FireballKnown, 12.01, 0.01, 0.05, false},
        {&CastLightning, &GameState::LightningKnown, 4, 4, 0.02, true},  // a try still teaches
        {&CastLightning, &GameState::LightningKnown, 4.01, 0.01, 0.02, false},
        {&CastHealingLight, &GameState::HealingKnown, 8, 8, 0, true},
        {&CastHealingLight, &GameState::HealingKnown, 8.01, 0.01, 0.02, false},
        {&CastNight, &GameState::NightKnown, 2, 2, 0, true},
        {&CastNight, &GameState::NightKnown, 2.01, 0.01, 0.02, false},
    };
    for (const auto& c : cases) {
        g().*c.known = true;
        g().Darkness = false;
        g().screen.txtSpeech.clear();
        hero().Mana = c.mana;
        hero().Magic = 1;
        hero().HP = 3;
        c.cast();
        // In hundredths; only the healing light heals and only the night darkens.
        const bool worked = !c.refused, heals = c.known == &GameState::HealingKnown, darkens = c.known == &GameState::NightKnown;
        EXPECT_EQ(std::tuple(std::lround(hero().Mana * 100), std::lround(hero().Magic * 100), Said() == Says(L"У вас не хватает маны"),
                             hero().HP, g().Darkness),
                  std::tuple(std::lround(c.manaAfter * 100), std::lround((1 + c.magicGain) * 100), c.refused,
                             heals && worked ? 20 : 3, darkens && worked))
            << c.mana;
    }
}

TEST_F(Spells, UnknownSpellsDoNothingButCutWeedsAndLightningNeedNoFlag) {
    hero().Mana = 50;
    for (auto cast : {&CastFireball, &CastHealingLight, &CastNight}) cast();
    EXPECT_EQ(std::tuple(hero().Mana, hero().Magic, g().Darkness), std::tuple(50, 0, false));
    CastLightning();
    EXPECT_EQ(hero().Mana, 46);
    // Cut weeds clears only a weed in front.
    Put(5, 6, L"<");
    CastCutWeeds();
    EXPECT_EQ(std::tuple(At(5, 6), g().CurTile), std::tuple(L"G", L"<"));
    Put(5, 6, L"T");
    CastCutWeeds();
    EXPECT_EQ(At(5, 6), L"T");
    EXPECT_NEAR(hero().Magic, 0.04, 1e-9);
}

TEST_F(Spells, LightningKillsAtSixteenAndLeavesSeventeenAtOne) {
    hero().Mana = 100;
    auto other = AddNpc(L"Купец", 9, 9, 40);
    auto sameColumn = AddNpc(L"Пёс", 5, 9, 40);
    auto sameRow = AddNpc(L"Кот", 9, 6, 40);
    auto weak = AddNpc(L"Волк", 5, 6, 16, true);
    g().ScriptNPCIndex = 1;
    CastLightning();
    // The strike shows on the map during its pause, with the keys held; the dead speaks its own death.
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(std::tuple(frames[0].keysBlocked, g().AnimationRunning, g().NPCs->Contains(weak), Said(), At(5, 6), hero().Exp),
              std::tuple(true, false, false, Says(L"Волк:конец"), L"G", 0));
    for (const auto& bystander : {other, sameColumn, sameRow}) {
        EXPECT_EQ(std::tuple(bystander->HP, bystander->Tactic == kTacticApproach), std::tuple(40, false));
    }
    auto strong = AddNpc(L"Медведь", 5, 6, 17);
    strong->Symbol = L"b";
    CastLightning();
    EXPECT_EQ(std::tuple(strong->HP, strong->Tactic, At(5, 6), hero().Mana), std::tuple(1, kTacticApproach, L"b", 92));
}

TEST_F(Spells, TheFireballFliesCellByCellToTheEdgeOfTheView) {
    const struct { int facing; Pic picture; int steps, dx, dy; } cases[] = {
        {1, Pic::fireball3, 5, 0, -1},
        {2, Pic::fireball1, 4, 0, 1},
        {3, Pic::fireball4, 4, 1, 0},
        {4, Pic::fireball2, 5, -1, 0},
    };
    g().FireballKnown = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.facing);
        frames.clear();
        g().FacingDir = c.facing;
        hero().Mana = 13;
        CastFireball();
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(c.steps));
        for (int k = 1; k <= c.steps; ++k) {
            const Frame& f = frames[static_cast<std::size_t>(k - 1)];
            EXPECT_EQ(std::tuple(f.shown, f.keysBlocked, f.picture, f.x, f.y),
                      std::tuple(true, true, c.picture, 160 + 32 * k * c.dx, 160 + 32 * k * c.dy));
        }
        EXPECT_EQ(std::tuple(g().gameScreen.view.flyingShown, g().AnimationRunning), std::tuple(false, false));
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
    EXPECT_EQ(std::tuple(g().NPCs->Contains(farthest), soldier->Good), std::tuple(false, true));
    good->Good = true;
    PinnedDraws draws{0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
    CastFireball();
    for (const auto& dead : {farthest, beside, good}) EXPECT_FALSE(g().NPCs->Contains(dead));
    for (const auto& alive : {beyond, wide, tough, edge, soldier}) EXPECT_TRUE(g().NPCs->Contains(alive));
    // Killing the good merchant raised the soldiers; the last to die spoke for itself.
    EXPECT_EQ(std::tuple(edge->HP, tough->HP, tough->Tactic, wide->HP, hero().Exp, soldier->Tactic, soldier->Good, Said()),
              std::tuple(3, 18, kTacticApproach, 10, 3, kTacticApproach, false, Says(L"Купец:конец")));
}

TEST_F(Spells, KeyZRepeatsTheFirstFourSpellsOnly) {
    const struct { int last; double manaSpent; bool weedCut; } cases[] = {{1, 0, true}, {2, 4, false}, {3, 12, false}, {4, 8, false}, {5, 0, false}, {6, 0, false}};
    g().FireballKnown = g().HealingKnown = g().NightKnown = true;
    for (const auto& c : cases) {
        Put(5, 6, L"<");
        hero().Mana = 50;
        g().LastSpell = c.last;
        RepeatLastSpell();
        EXPECT_EQ(std::tuple(50 - hero().Mana, At(5, 6) == L"G", g().Darkness), std::tuple(c.manaSpent, c.weedCut, false)) << c.last;
    }
}

}  // namespace
