// The skill list and the skills that need no item: curing, healing, theft, fishing, the
// arrow's hit and the forge's choices.
#include <sstream>
#include <tuple>

#include "world/quest_flags.h"
#include "skill_fixture.h"

using namespace morvath;

namespace {

using Skills = SkillTest;

void Learn(std::size_t row, const wchar_t* name) { modVarsAndMain.Skills[row][0] = Variant(std::wstring(name)); }

TEST_F(Skills, TheListOffersEveryNamedRowAndRunsTheRowOfTheLineChosen) {
    const auto& list = g().gameScreen.skills;
    ShowSkills();
    EXPECT_EQ(std::tuple(Said(), list.visible), std::tuple(Says(L"Нет Умений!"), false));
    Learn(3, L"Литература");
    Learn(12, L"Врачевание");
    Learn(20, L"Заговаривать болезнь");
    ShowSkills();
    EXPECT_EQ(list.lines, (std::vector<std::wstring>{L"Литература", L"Врачевание", L"Заговаривать болезнь"}));
    hero().HP = 10;
    g().gameScreen.skills.ListIndex = 1;
    ChooseSkill();
    EXPECT_EQ(std::tuple(hero().HP, list.visible), std::tuple(14, false));
    ShowSkills();
    ChooseSkill();  // no line chosen is the first: the passive reading skill, which does nothing
    Learn(0, L"Врачевание");
    UseSkill(-1);  // no row is row 0
    EXPECT_EQ(hero().HP, 18);
    g().Darkness = true;
    ShowSkills();
    EXPECT_EQ(std::tuple(Said(), list.visible), std::tuple(Says(L"Здесь слишком темно..."), false));
}

TEST_F(Skills, TheCellInFrontOfTheHero) {
    for (auto [x, y, tile] : {std::tuple(5, 4, L"a"), {5, 6, L"b"}, {6, 5, L"c"}, {4, 5, L"d"}}) Put(x, y, tile);
    std::wstring seen;
    for (int facing = 0; facing <= 5; ++facing) {
        g().FacingDir = facing;
        seen += GetFacingTile() + L".";
    }
    EXPECT_EQ(seen, L".a.b.c.d..");
}

TEST_F(Skills, CuringAndHealing) {
    const struct { const wchar_t* skill; int hp, sick, hpAfter, sickAfter; const wchar_t* said; } cases[] = {
        {L"Заговаривать болезнь", 10, 0, 10, 0, L"Вы не больны"},
        {L"Заговаривать болезнь", 10, 7, 10, 1, L""},
        {L"Врачевание", 16, 0, 20, 0, L""},
        {L"Врачевание", 17, 5, 17, 3, L""},  // no healing part of the way; the illness still eases
    };
    for (const auto& c : cases) {
        Learn(0, c.skill);
        g().screen.txtSpeech.clear();
        hero().HP = c.hp;
        hero().Sick = c.sick;
        UseSkill(0);
        EXPECT_EQ(std::tuple(hero().HP, hero().Sick, Said()), std::tuple(c.hpAfter, c.sickAfter, *c.said ? Says(c.said) : L""))
            << c.skill << c.hp;
    }
}

TEST_F(Skills, TheftTakesUpToWhatTheVictimCarries) {
    Learn(0, L"Воровство");
    hero().Mobility = 10;
    for (auto [victim, most] : {std::pair(L"Солдат", 20.0), {L"Воевода", 100.0}, {L"Купец", 400.0}, {L"Торговец", 200.0}, {L"Нищий", 4.0}}) {
        g().NPCs->Clear();
        AddNpc(victim, 5, 6, 40, true);
        g().Money = 0;
        auto d = DrawsWhere(3, [](const std::vector<double>& r) { return r[1] * 11 > 7 && r[2] * 4 >= 1; });
        UseSkill(0);
        const long loot = static_cast<long>(Int(d[2] * most));
        EXPECT_EQ(std::tuple(g().Money, Said()), std::tuple(loot, Says(L"Вам повезло! Вы своровали " + std::to_wstring(loot) + L" монет!")))
            << victim;
    }
    EXPECT_NEAR(hero().Doom, 1.0, 1e-9);
    hero().Doom = 4;
    UseSkill(0);
    EXPECT_EQ(hero().Doom, 4);
}

TEST_F(Skills, ACaughtThiefFightsAndAGoodVictimRaisesTheSoldiers) {
    Learn(0, L"Воровство");
    hero().Mobility = 10;
    for (bool good : {true, false}) {
        g().NPCs->Clear();
        g().gameScreen.fight.visible = false;
        auto victim = AddNpc(L"Купец", 5, 6, 40, good);
        auto soldier = AddNpc(L"Солдат", 5, 20, 40, true);  // in the same column, not in front
        victim->Tactic = good ? 0 : kTacticApproach;
        // a hostile victim catches even a draw that beats a peaceful one
        DrawsWhere(2, [good](const std::vector<double>& r) { return good ? r[1] < 0.5 : r[1] > 0.9; });
        UseSkill(0);
        EXPECT_NE(Said().find(L"Вас поймали на воровстве!"), std::wstring::npos);
        EXPECT_EQ(std::tuple(victim->Good, soldier->Tactic == kTacticApproach, g().gameScreen.fight.visible, g().gameScreen.fight.enemy),
                  std::tuple(false, good, true, victim));
    }
    g().NPCs->Clear();
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Здесь не у кого воровать..."));
}

TEST_F(Skills, Fishing) {
    Learn(0, L"Ловить рыбу");
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Вам нечем ловить рыбу - нужна удочка!"));
    g().Equip[kSlotLeftHand][kEqName] = Variant(std::wstring(L"Удочка"));
    Put(4, 5, L"-");
    Put(6, 5, L"-");
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Здесь нет ни воды, ни реки - рыбу ловить негде..."));
    // With Luck 6 every try catches; the second fish joins the first.
    Put(5, 4, L"D");
    hero().Luck = 6;
    UseSkill(0);
    UseSkill(0);
    ASSERT_EQ(g().Inventory->Count(), 1);
    const auto fish = g().Inventory->Item(1);
    EXPECT_EQ(std::tuple(Said(), fish->ItemName, fish->ItemCount, fish->ItemScript),
              std::tuple(Says(L"Вы поймали рыбину!"), L"Окунь или плотва", 1, L"food.itm"));
    // The blue carp of its lake is caught once, below a lower shore piece too.
    Put(5, 4, L"G");
    Put(5, 6, L"F");
    w().WorldName = L"lm1";
    g().QuestFlags[kFlagBlueCarp] = 1;
    UseSkill(0);
    EXPECT_EQ(std::tuple(Said(), g().QuestFlags[kFlagBlueCarp], CarriedNames().back(), g().Inventory->Item(2)->ItemScript),
              std::tuple(Says(L"Вы поймали странного синего карася!"), 2, L"Странный карась синего цвета", L"bluefish.itm"));
    // Without luck: the golden fish, one try in seventy of those that miss.
    hero().Luck = 0;
    auto d = DrawsWhere(3, [](const std::vector<double>& r) { return r[0] * 11 < 6 && r[1] * 70 >= 69; });
    UseSkill(0);
    EXPECT_EQ(std::tuple(Said(), g().Money), std::tuple(Says(L"Вы поймали Золотую рыбку...У вас море денег..."), 16000 + Int(d[2] * 100)));
    DrawsWhere(2, [](const std::vector<double>& r) { return r[0] * 11 < 6 && r[1] * 70 < 69; });
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Вам не повезло - вы ничего не поймали..."));
}

TEST_F(Skills, AnArrowHitsInABandAndItsDamageCountsBowArrowLuckAndTactic) {
    g().Equip[kSlotRightHand][kEqWeaponPlus] = Variant(10.0);
    g().Equip[kSlotRightHand][kEqCritical] = Variant(50.0);
    auto arrow = Carry(L"Стрелы", kArrows);
    arrow->WeaponPlus = 4;
    arrow->Critical = 50;
    hero().Mobility = 10;
    hero().Luck = 4;
    // bow 5 + arrows 2 + luck 2 + twice the tactic
    for (auto [tactic, bonus] : {std::pair(-2, 5.0), {0, 9.0}, {2, 13.0}}) {
        g().NPCs->Clear();
        hero().HeroeTactic = tactic;
        EXPECT_FALSE(ArrowHit(5, 8, kSlotRightHand, arrow));  // nobody there
        auto target = AddNpc(L"Волк", 6, 8, 100);  // a column off the line is still in it
        target->Strenght = 3;
        auto d = DrawsWhere(2, [](const std::vector<double>& r) { return r[0] * 60 > 5; });
        EXPECT_TRUE(ArrowHit(5, 8, kSlotRightHand, arrow));
        EXPECT_NEAR(target->HP, 100 - (bonus - d[1] * 3), 1e-9) << tactic;
        EXPECT_EQ(std::tuple(target->Tactic, Said()), std::tuple(kTacticApproach, Says(L"Вы попали и нанесли повреждение.")));
    }
    DrawsWhere(1, [](const std::vector<double>& r) { return r[0] * 60 <= 5; });
    EXPECT_FALSE(ArrowHit(5, 8, kSlotRightHand, arrow));
    EXPECT_EQ(Said(), Says(L"Вы промахнулись!"));
}

TEST_F(Skills, AnArrowKillsWithTheDeadAsSpeakerAndAGoodTargetRaisesTheSoldiers) {
    g().Equip[kSlotRightHand][kEqCritical] = Variant(100.0);
    auto soldier = AddNpc(L"Солдат", 20, 20, 40, true);
    auto strong = AddNpc(L"Богатырь", 5, 8, 50, true);
    strong->Strenght = 100;
    auto weak = AddNpc(L"Заяц", 5, 9, 1);
    hero().Luck = 4;
    g().ScriptNPCIndex = 1;
    DrawsWhere(2, [](const std::vector<double>& r) { return r[0] > 0.1 && r[1] > 0.1; });
    EXPECT_TRUE(ArrowHit(5, 8, kSlotRightHand, nullptr));
    EXPECT_EQ(std::tuple(Said(), soldier->Tactic, strong->Good),
              std::tuple(Says(L"Вы попали но не нанесли повреждения..."), kTacticApproach, false));
    DrawsWhere(2, [](const std::vector<double>& r) { return r[0] > 0.1 && r[1] < 0.5; });
    EXPECT_TRUE(ArrowHit(5, 9, kSlotRightHand, nullptr));
    EXPECT_EQ(std::tuple(g().NPCs->Contains(weak), hero().Exp, Said()), std::tuple(false, 1, Says(L"Заяц:конец")));
}

// What the forge made from an ingot with a line chosen: the names carried, and the piece's
// plus, critical, defence and weight.
class Forge : public SkillTest {
protected:
    std::wstring Forged(int line, long ingots) {
        g().Inventory->Clear();
        g().ForgeIngot = Carry(L"Слиток железа", kOre, ingots);
        g().ForgeChoice = true;
        ForgeChosen(line);
        std::wostringstream out;
        for (const auto& item : *g().Inventory) {
            out << item->ItemName << L" x" << item->ItemCount << L" [" << item->WeaponPlus << L"," << item->Critical << L","
                << item->DefendPlus << L"," << item->Weight << L"] ";
        }
        out << (g().ForgeChoice ? L"choosing" : L"done");
        return out.str();
    }
};

TEST_F(Forge, ASwordForgedWithLuckThreeRoundsItsHalvesToEven) {
    hero().Luck = 3;
    for (auto [quarter, made] : {std::pair(0, L"Стальной меч x0 [2,75,0,2.5] done"), {1, L"Стальной меч x0 [4,75,0,2.5] done"},
                                 {2, L"Стальной меч x0 [4,75,0,2.5] done"}, {3, L"Стальной меч x0 [6,75,0,2.5] done"}}) {
        PinnedDraws draws{quarter / 4.0 + 0.1, 0.5};
        EXPECT_EQ(Forged(0, 0), made) << quarter;
    }
}

TEST_F(Forge, ArmourUsesOneIngotAndNothingChosenKeepsIt) {
    hero().Luck = 2;
    const struct { int line; const wchar_t* made; } cases[] = {
        {1, L"Слиток железа x0 [0,0,0,1] Стальной Щит x0 [0,0,7,8] done"},
        {3, L"Слиток железа x0 [0,0,0,1] Стальной Шлем x0 [0,0,4,2.5] done"},
        {6, L"Слиток железа x1 [0,0,0,1] done"},
        {-1, L"Слиток железа x1 [0,0,0,1] done"},
    };
    for (const auto& c : cases) {
        PinnedDraws draws{0.5};
        EXPECT_EQ(Forged(c.line, 1), c.made) << c.line;
    }
    // Esc puts the choice away and forges nothing.
    g().ForgeChoice = true;
    CloseSkillListOnEscape(kVkEscape);
    EXPECT_EQ(std::tuple(g().ForgeChoice, g().ForgeIngot), std::tuple(false, nullptr));
}

TEST_F(Skills, SmithingNeedsAHammerInHandAndAnAnvilInFront) {
    Learn(0, L"Кузнечное дело");
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Вам нечем ковать!Возьмите Молот в руку!"));
    g().Equip[kSlotLeftHand][kEqName] = Variant(std::wstring(L"Молот"));
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Вам не на чем ковать!"));
}

}  // namespace
