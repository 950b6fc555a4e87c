// The skill list and the skills that need no item: curing, healing, theft, fishing, the
// arrow's hit and the forge's choices.
#include "world/quest_flags.h"
#include "skill_fixture.h"

using namespace morvath;

namespace {

using Skills = SkillTest;

void Learn(std::size_t row, const wchar_t* name) { modVarsAndMain.Skills[row][0] = Variant(std::wstring(name)); }

TEST_F(Skills, TheListOffersEveryNamedRowAndRunsTheRowOfTheLineChosen) {
    ShowSkills();
    EXPECT_EQ(Said(), Says(L"Нет Умений!"));
    EXPECT_FALSE(g().gameScreen.skills.visible);
    Learn(3, L"Литература");
    Learn(12, L"Врачевание");
    Learn(20, L"Заговаривать болезнь");
    ShowSkills();
    const auto& list = g().gameScreen.skills;
    ASSERT_TRUE(list.visible);
    EXPECT_EQ(list.lines, (std::vector<std::wstring>{L"Литература", L"Врачевание", L"Заговаривать болезнь"}));
    hero().HP = 10;
    g().gameScreen.skills.ListIndex = 1;
    ChooseSkill();
    EXPECT_EQ(hero().HP, 14);
    EXPECT_FALSE(list.visible);
    // No line chosen is the first line: the passive reading skill, which does nothing.
    ShowSkills();
    ChooseSkill();
    EXPECT_EQ(hero().HP, 14);
    Learn(0, L"Врачевание");
    UseSkill(-1);  // no row is row 0
    EXPECT_EQ(hero().HP, 18);
    g().Darkness = true;
    ShowSkills();
    EXPECT_EQ(Said(), Says(L"Здесь слишком темно..."));
    EXPECT_FALSE(list.visible);
}

TEST_F(Skills, TheCellInFrontOfTheHero) {
    Put(5, 4, L"a");
    Put(5, 6, L"b");
    Put(6, 5, L"c");
    Put(4, 5, L"d");
    const wchar_t* const expected[] = {L"", L"a", L"b", L"c", L"d", L""};
    for (int facing = 0; facing <= 5; ++facing) {
        g().FacingDir = facing;
        EXPECT_EQ(GetFacingTile(), expected[facing]) << facing;
    }
}

TEST_F(Skills, CuringAndHealing) {
    struct Case {
        const wchar_t* skill;
        int hp, sick;
        int hpAfter, sickAfter;
        const wchar_t* said;
    };
    const Case cases[] = {
        {L"Заговаривать болезнь", 10, 0, 10, 0, L"Вы не больны"},
        {L"Заговаривать болезнь", 10, 7, 10, 1, L""},
        {L"Врачевание", 16, 0, 20, 0, L""},
        {L"Врачевание", 17, 5, 17, 3, L""},  // no healing part of the way; the illness still eases
    };
    Learn(0, L"");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skill);
        Learn(0, c.skill);
        g().screen.txtSpeech.clear();
        hero().HP = c.hp;
        hero().Sick = c.sick;
        UseSkill(0);
        EXPECT_EQ(hero().HP, c.hpAfter);
        EXPECT_EQ(hero().Sick, c.sickAfter);
        EXPECT_EQ(Said(), *c.said ? Says(c.said) : L"");
    }
}

TEST_F(Skills, TheftTakesUpToWhatTheVictimCarries) {
    struct Case {
        const wchar_t* victim;
        double most;
    };
    const Case cases[] = {{L"Солдат", 20}, {L"Воевода", 100}, {L"Купец", 400}, {L"Торговец", 200}, {L"Нищий", 4}};
    Learn(0, L"Воровство");
    hero().Mobility = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.victim);
        g().NPCs->Clear();
        AddNpc(c.victim, 5, 6, 40, true);
        g().Money = 0;
        auto d = DrawsWhere(3, [](const std::vector<double>& r) { return r[1] * 11 > 7 && r[2] * 4 >= 1; });
        UseSkill(0);
        const long loot = static_cast<long>(Int(d[2] * c.most));
        EXPECT_EQ(g().Money, loot);
        EXPECT_EQ(Said(), Says(L"Вам повезло! Вы своровали " + std::to_wstring(loot) + L" монет!"));
    }
    EXPECT_NEAR(hero().Doom, 1.0, 1e-9);
    hero().Doom = 4;
    UseSkill(0);
    EXPECT_EQ(hero().Doom, 4);
}

TEST_F(Skills, ACaughtThiefFightsAndAGoodVictimRaisesTheSoldiers) {
    struct Case {
        bool good;
        int tactic;
        double luckyDraw;  // large enough to succeed against a peaceful victim
    };
    const Case cases[] = {{true, 0, 0.0}, {false, kTacticApproach, 0.9}};
    Learn(0, L"Воровство");
    hero().Mobility = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.good);
        g().NPCs->Clear();
        g().gameScreen.fight.visible = false;
        auto victim = AddNpc(L"Купец", 5, 6, 40, c.good);
        auto soldier = AddNpc(L"Солдат", 5, 20, 40, true);  // in the same column, not in front
        victim->Tactic = c.tactic;
        const double lucky = c.luckyDraw;
        DrawsWhere(2, [lucky](const std::vector<double>& r) { return lucky > 0 ? r[1] > lucky : r[1] < 0.5; });
        UseSkill(0);
        EXPECT_NE(Said().find(L"Вас поймали на воровстве!"), std::wstring::npos);
        EXPECT_FALSE(victim->Good);
        EXPECT_EQ(soldier->Tactic == kTacticApproach, c.good);
        EXPECT_TRUE(g().gameScreen.fight.visible);
        EXPECT_EQ(g().gameScreen.fight.enemy, victim);
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
    for (int i = 0; i < 2; ++i) UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Вы поймали рыбину!"));
    ASSERT_EQ(g().Inventory->Count(), 1);
    EXPECT_EQ(g().Inventory->Item(1)->ItemName, L"Окунь или плотва");
    EXPECT_EQ(g().Inventory->Item(1)->ItemCount, 1);
    EXPECT_EQ(g().Inventory->Item(1)->ItemScript, L"food.itm");

    // The blue carp of its lake is caught once, below a lower shore piece too.
    Put(5, 4, L"G");
    Put(5, 6, L"F");
    w().WorldName = L"lm1";
    g().QuestFlags[kFlagBlueCarp] = 1;
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Вы поймали странного синего карася!"));
    EXPECT_EQ(g().QuestFlags[kFlagBlueCarp], 2);
    EXPECT_EQ(CarriedNames().back(), L"Странный карась синего цвета");
    EXPECT_EQ(g().Inventory->Item(2)->ItemScript, L"bluefish.itm");

    // Without luck: the golden fish, one try in seventy of those that miss.
    hero().Luck = 0;
    auto d = DrawsWhere(3, [](const std::vector<double>& r) { return r[0] * 11 < 6 && r[1] * 70 >= 69; });
    UseSkill(0);
    EXPECT_EQ(Said(), Says(L"Вы поймали Золотую рыбку...У вас море денег..."));
    EXPECT_EQ(g().Money, 16000 + Int(d[2] * 100));
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
    struct Case {
        int tactic;
        double bonus;  // bow 5 + arrows 2 + luck 2 + twice the tactic
    };
    for (const Case& c : {Case{-2, 5}, Case{0, 9}, Case{2, 13}}) {
        SCOPED_TRACE(c.tactic);
        g().NPCs->Clear();
        hero().HeroeTactic = c.tactic;
        EXPECT_FALSE(ArrowHit(5, 8, kSlotRightHand, arrow));  // nobody there
        auto target = AddNpc(L"Волк", 6, 8, 100);  // a column off the line is still in it
        target->Strenght = 3;
        auto d = DrawsWhere(2, [](const std::vector<double>& r) { return r[0] * 60 > 5; });
        EXPECT_TRUE(ArrowHit(5, 8, kSlotRightHand, arrow));
        EXPECT_NEAR(target->HP, 100 - (c.bonus - d[1] * 3), 1e-9);
        EXPECT_EQ(target->Tactic, kTacticApproach);
        EXPECT_EQ(Said(), Says(L"Вы попали и нанесли повреждение."));
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
    EXPECT_EQ(Said(), Says(L"Вы попали но не нанесли повреждения..."));
    EXPECT_EQ(soldier->Tactic, kTacticApproach);
    EXPECT_FALSE(strong->Good);
    DrawsWhere(2, [](const std::vector<double>& r) { return r[0] > 0.1 && r[1] < 0.5; });
    EXPECT_TRUE(ArrowHit(5, 9, kSlotRightHand, nullptr));
    EXPECT_FALSE(g().NPCs->Contains(weak));
    EXPECT_EQ(hero().Exp, 1);
    EXPECT_EQ(Said(), Says(L"Заяц:конец"));
}

TEST_F(Skills, ASwordForgedWithLuckThreeRoundsItsHalvesToEven) {
    hero().Luck = 3;
    for (const auto& [draw, plus] : {std::pair{0, 2}, {1, 4}, {2, 4}, {3, 6}}) {
        SCOPED_TRACE(draw);
        g().Inventory->Clear();
        const int want = draw;
        auto d = DrawsWhere(2, [want](const std::vector<double>& r) { return Int(r[0] * 4) == want; });
        g().ForgeIngot = Carry(L"Слиток железа", kOre);
        g().ForgeChoice = true;
        g().gameScreen.skills.ListIndex = 0;
        ChooseSkill();
        EXPECT_FALSE(g().ForgeChoice);
        ASSERT_EQ(CarriedNames(), std::vector<std::wstring>{L"Стальной меч"});
        const auto sword = g().Inventory->Item(1);
        EXPECT_EQ(sword->WeaponPlus, plus);
        EXPECT_EQ(sword->Critical, Int(d[1] * 30) + 60);
        EXPECT_EQ(sword->Weight, 2.5);
    }
}

TEST_F(Skills, TheForgeMakesArmourAndKeepsTheIngotWhenNothingIsChosen) {
    struct Case {
        int line;
        const wchar_t* made;
        long kind;
        double weightBase;
    };
    const Case cases[] = {
        {1, L"Стальной Щит", kShield, 4.5},
        {3, L"Стальной Шлем", kHead, 0.5},
        {6, nullptr, 0, 0},
        {-1, nullptr, 0, 0},
    };
    hero().Luck = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        g().Inventory->Clear();
        auto ingots = Carry(L"Слиток железа", kOre, 1);
        g().ForgeIngot = ingots;
        g().ForgeChoice = true;
        SeedRandom(11);
        const double q = Int(Rnd() * (c.line == 3 ? 5 : 10)) + 2;
        SeedRandom(11);
        ForgeChosen(c.line);
        if (!c.made) {
            EXPECT_EQ(CarriedNames(), std::vector<std::wstring>{L"Слиток железа"});
            EXPECT_EQ(ingots->ItemCount, 1);
            continue;
        }
        ASSERT_EQ(CarriedNames(), (std::vector<std::wstring>{L"Слиток железа", c.made}));
        EXPECT_EQ(ingots->ItemCount, 0);  // one ingot of the two is used
        const auto made = g().Inventory->Item(2);
        EXPECT_EQ(made->ItemType, c.kind);
        EXPECT_EQ(made->DefendPlus, q);
        EXPECT_DOUBLE_EQ(made->Weight, q / 2 + c.weightBase);
    }
    // Esc puts the choice away and forges nothing.
    g().ForgeChoice = true;
    CloseSkillListOnEscape(kVkEscape);
    EXPECT_FALSE(g().ForgeChoice);
    EXPECT_EQ(g().ForgeIngot, nullptr);
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
