#include <utility>

#include "test_support.h"

using namespace morvath;

namespace {

// A death here runs game over, which empties the game folder's save folder.
struct Upkeep : GameTest {
    Upkeep() : GameTest(3) {
        w().WorldName = L"N1";
        h().HP = 10;
        h().MaxHp = 10;
    }
    std::wstring& info() { return modVarsAndMain.screen.lblII; }
    const std::wstring& speech() { return modVarsAndMain.screen.txtSpeech; }

    // Hunger after one ordinary turn's hunger step, for a hero whose hunger does not grow.
    std::wstring HungerText(int hungry) {
        h().Hungry = hungry;
        info().clear();
        h().UpdateHungry();
        return info();
    }
};

}  // namespace

TEST_F(Upkeep, HungerBandsInOrdinaryLocations) {
    struct Case {
        int hungry;
        const wchar_t* text;
        double hardiness;  // from 1: hunger hardens
        double draw;       // starving costs up to four hit points
        int hp, beeps;
    };
    const Case cases[] = {{-20, L"Объетый", 1, 0, 10, 0},
                          {-19, L"Сытый", 1, 0, 10, 0},
                          {99, L"Сытый", 1, 0, 10, 0},
                          {100, L"", 1, 0, 10, 0},
                          {2999, L"", 1, 0, 10, 0},
                          {3000, L"Вам хочеться есть...", 1.0001, 0, 10, 0},
                          {4499, L"Вам хочеться есть...", 1.0001, 0.99, 10, 0},
                          {4500, L"Вы умираете с голоду!", 1.001, 0.99, 6, 1},
                          {5000, L"Вы умираете с голоду!", 1.001, 0.1, 10, 1}};
    for (const Case& c : cases) {
        h().HardIness = 1;
        h().HP = 10;
        ui.log.clear();
        PinnedDraws draws{c.draw};
        EXPECT_EQ(HungerText(c.hungry), c.text) << c.hungry;
        EXPECT_DOUBLE_EQ(h().HardIness, c.hardiness) << c.hungry;
        EXPECT_EQ(h().HP, c.hp) << c.hungry;
        EXPECT_EQ(ui.Count(L"Beep"), c.beeps) << c.hungry;
    }
}

TEST_F(Upkeep, HungerGrowsByConstitutionAndStrengthAndStopsInSleep) {
    h().Constitution = 6;
    h().Strenght = 4;
    h().HardIness = 3;
    h().Hungry = 10;
    h().UpdateHungry();
    EXPECT_EQ(h().Hungry, 12);  // 10 / 4 = 2.5 rounds to the even 2
    h().Sleep = true;
    h().UpdateHungry();
    EXPECT_EQ(h().Hungry, 12);
    h().Sleep = false;
    h().HardIness = -1;  // a zero divisor skips the statement
    h().UpdateHungry();
    EXPECT_EQ(h().Hungry, 12);
}

TEST_F(Upkeep, RegenerationInOrdinaryLocations) {
    h().HP = 5;
    h().Constitution = 10;
    h().HardIness = 10;
    h().Strenght = 19.9;  // r = 39.9 / 80 < 0.5: nothing
    h().UpdateHP();
    EXPECT_EQ(h().HP, 5);
    EXPECT_NEAR(h().regenerationCarry, 39.9 / 80, 1e-12);

    h().Strenght = 60;  // r = 1
    h().UpdateHP();
    EXPECT_EQ(h().HP, 6);
    h().HP = 9;
    h().Strenght = 300;  // r = 4 would overshoot: exactly one point
    h().UpdateHP();
    EXPECT_EQ(h().HP, 10);
    h().UpdateHP();
    EXPECT_EQ(h().HP, 10);
}

TEST_F(Upkeep, DeathIsAnnouncedOnceAndHandedToGameOver) {
    h().HP = 0;
    h().MaxHp = 10;
    h().UpdateHP();
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Вы умерли!"), 1);
    EXPECT_TRUE(modVarsAndMain.PlayerDead);
    EXPECT_TRUE(modVarsAndMain.hallOfFame.writehf);
    h().HP = 0;
    h().UpdateHP();
    h().DoChangesWild();
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Вы умерли!"), 1);
}

TEST_F(Upkeep, SicknessAndPoisonInOrdinaryTurns) {
    h().HP = 20;
    h().MaxHp = 30;
    h().Sick = 5;
    h().Poison = 9;
    h().Hungry = 500;
    h().DoChanges();
    EXPECT_EQ(h().HP, 20 - 2 - 2);
    EXPECT_EQ(h().Sick, 4);
    EXPECT_EQ(h().Poison, 8);
    EXPECT_NE(info().find(L" Болен Отравлен"), std::wstring::npos);
}

TEST_F(Upkeep, ManaGrowsOnlyBelowItsCeiling) {
    h().Magic = 1;  // ceiling 20
    h().Profession = kPrince;
    h().MConst = 0.02;  // recomputed each turn: Science 0, Magic 1 -> 0.02
    h().Mana = 19.97;
    h().DoChanges();
    EXPECT_DOUBLE_EQ(h().Mana, 19.99);
    h().DoChanges();  // 19.99 + 0.02 is not below 20
    EXPECT_DOUBLE_EQ(h().Mana, 19.99);
}

TEST_F(Upkeep, StatusLine) {
    h().HP = 10;
    h().Exp = 3;
    h().Level = 2;
    h().Mana = 3.9;
    modVarsAndMain.TheWorld->Day = 5;
    modVarsAndMain.TheWorld->Turn = 7;
    h().Show_Status();
    EXPECT_EQ(modVarsAndMain.screen.lblInfo, L"ХП: 10 Опыт:3  Ур:2  День:5 Ход:7  Мана:3");
    h().Mana = -2;
    h().HP = -4;
    h().Show_Status();
    EXPECT_EQ(modVarsAndMain.screen.lblInfo, L"ХП: -4 Опыт:3  Ур:2  День:5 Ход:7  Мана:");
}

TEST_F(Upkeep, CarriedWeight) {
    modVarsAndMain.Money = 1000;
    auto a = modVarsAndMain.Inventory->Add();
    a->Weight = 2;
    a->ItemCount = 2;  // three pieces
    modVarsAndMain.Inventory->Add()->Weight = 0.5;
    modVarsAndMain.Equip[kSlotBody][kEqWeight] = 10.0;
    modVarsAndMain.Equip[kSlotHead][kEqWeight] = Variant(L"");  // an empty slot adds nothing
    h().DoWeight();
    EXPECT_DOUBLE_EQ(h().Weight, 1 + 6 + 0.5 + 10);
    EXPECT_EQ(h().TiredConst, 2);

    ResetGame();
    modVarsAndMain.CreateRoots();
    modVarsAndMain.Equip[kSlotLegs][kEqWeight] = 4.9;
    h().DoWeight();
    EXPECT_DOUBLE_EQ(h().Weight, 4.9);
    EXPECT_EQ(h().TiredConst, 0);
    modVarsAndMain.Equip[kSlotLegs][kEqWeight] = 25.0;
    h().DoWeight();
    EXPECT_EQ(h().TiredConst, 2);  // 2.5 to the even neighbour
}

TEST_F(Upkeep, OverloadBands) {
    h().MaxWeight = 14;
    h().TiredConst = 3;

    h().Weight = 7;  // exactly half: free
    info().clear();
    EXPECT_TRUE(h().CheckWeight());
    EXPECT_EQ(info(), L"");

    h().Weight = 7.5;
    h().Hungry = 10;
    h().Tired = 100;
    h().HardIness = 0;
    h().Strenght = 0;
    EXPECT_TRUE(h().CheckWeight());
    EXPECT_EQ(info(), L" Перегружен");
    EXPECT_EQ(h().Hungry, 10);  // 10.5 rounds to the even 10
    EXPECT_EQ(h().Tired, 102);  // 101.5 rounds to 102
    EXPECT_DOUBLE_EQ(h().HardIness, 0.007);
    EXPECT_DOUBLE_EQ(h().Strenght, 0.001);
    h().Hungry = 11;
    h().CheckWeight();
    EXPECT_EQ(h().Hungry, 12);

    h().Weight = h().MaxWeight / 1.4;  // between the bands: free
    info().clear();
    EXPECT_TRUE(h().CheckWeight());
    EXPECT_EQ(info(), L"");

    h().Weight = 13.9;
    h().Hungry = 10;
    h().Tired = 100;
    EXPECT_TRUE(h().CheckWeight());
    EXPECT_EQ(info(), L" Сильно Перегружен");
    EXPECT_EQ(h().Hungry, 11);
    EXPECT_EQ(h().Tired, 103);

    h().Weight = 14;
    info().clear();
    EXPECT_FALSE(h().CheckWeight());
    EXPECT_EQ(info(), L"");
}

TEST_F(Upkeep, DodgeValueByLoad) {
    h().Mobility = 20;
    h().Constitution = 5;
    h().Tired = 2000;
    h().HeroeTactic = -2;
    h().MaxWeight = 14;
    for (auto [weight, pv] : {std::pair{0.0, 17}, std::pair{7.5, 16}, std::pair{10.0, 17}, std::pair{10.5, 12}, std::pair{14.0, 7}}) {
        h().Weight = weight;
        h().calcPV();
        EXPECT_EQ(h().PV, pv) << weight;
    }
}

TEST_F(Upkeep, FatigueTexts) {
    h().TiredConst = 1;
    // 3700 is not above 3700; a step to 4400 is no sleep yet.
    for (auto [tired, text] : {std::pair{3699, L""}, std::pair{3700, L"Вы чувствуете себя усталым..."},
                               std::pair{4200, L"Вы Валитесь с ног от усталости"}, std::pair{4399, L"Вы Валитесь с ног от усталости"}}) {
        modVarsAndMain.screen.txtSpeech.clear();
        h().Tired = tired;
        h().CheckTired();
        EXPECT_EQ(speech(), *text ? std::wstring(text) + L"\r\n\r\n[пробел]" : L"") << tired;
    }
    EXPECT_FALSE(h().Sleep);
    EXPECT_EQ(h().Tired, 4400);
}

// Above 4400 the three fatigue texts are spoken in their order, and only then does the
// hero fall asleep: the first turn of the sleep finds the last of them in the speech box.
TEST_F(Upkeep, AboveTheLastBandAllThreeFatigueTextsComeBeforeTheSleep) {
    struct Watch : ScriptedFrontend {
        std::wstring firstSpeech;
        unsigned firstSerial = 0;
        bool seen = false;
        void Redraw() override {
            if (seen) return;
            seen = true;
            firstSpeech = modVarsAndMain.screen.txtSpeech;
            firstSerial = modVarsAndMain.screen.speechSerial;
        }
    } watch;
    const unsigned before = modVarsAndMain.screen.speechSerial;
    h().TiredConst = 1;
    h().Tired = 4400;
    h().CheckTired();
    ASSERT_TRUE(watch.seen);
    EXPECT_EQ(watch.firstSerial - before, 3u);
    EXPECT_EQ(watch.firstSpeech, L"Вы внезапно заснули...\r\n\r\n[пробел]");
    EXPECT_EQ(modVarsAndMain.screen.speechSerial - before, 4u);  // and "Вы проснулись!"
}

TEST_F(Upkeep, FallingAsleepSleepsUntilRested) {
    h().Profession = kWarlock;
    h().TiredConst = 1;
    h().Tired = 4400;
    h().HP = 3;
    h().MaxHp = 50;
    h().CheckTired();  // 4401: all three texts, then sleep
    EXPECT_FALSE(h().Sleep);
    EXPECT_EQ(speech(), L"Вы проснулись!\r\n\r\n[пробел]");
    EXPECT_GT(h().Tired, -50);
    EXPECT_LE(h().Tired, 0);
    EXPECT_EQ(h().Mana, 89);  // one per sleeping turn: 4401 falls by 50 in 89 turns
    EXPECT_EQ(h().HP, 50);
}

TEST_F(Upkeep, SleepingOnTheWildernessMapEnds) {
    h().Sleep = true;
    h().TiredConst = 10;
    h().Tired = 100;
    h().Hungry = 500;
    h().DoChangesWild();
    EXPECT_EQ(h().Tired, 100);  // no fatigue accrues in sleep

    h().Sleep = false;
    h().Tired = 0;
    h().DoChangesWild();
    EXPECT_EQ(h().Tired, 100);
}

TEST_F(Upkeep, WildernessStep) {
    h().Constitution = 10;
    h().Strenght = 2;
    h().HardIness = 2;
    h().Hungry = 0;
    h().HP = 5;
    h().MaxHp = 10;
    info() = L"old";
    h().DoChangesWild();
    EXPECT_EQ(h().Hungry, 50);  // 25 * (1 + 2 - 2) + 0 + 25
    EXPECT_EQ(info(), L"Сытый");
    EXPECT_NEAR(h().regenerationCarry, 0.6, 1e-12);
    EXPECT_EQ(h().HP, 5);
    h().DoChangesWild();  // the carry reaches 1.2: one point, and the carry starts again
    EXPECT_EQ(h().HP, 6);
    EXPECT_EQ(h().regenerationCarry, 0);
    EXPECT_DOUBLE_EQ(h().HardIness, 2.001);

    h().Hungry = 2450;
    h().HardIness = 2;
    h().DoChangesWild();
    EXPECT_EQ(h().Hungry, 2500);
    EXPECT_EQ(info(), L"Вам хочеться есть...");
    EXPECT_NEAR(h().HardIness, 2.006, 1e-12);  // hunger hardens

    h().Hungry = -100;
    h().Sick = 3;
    h().DoChangesWild();
    EXPECT_EQ(info(), L"Объетый Болен");
    EXPECT_EQ(h().Sick, 2);

    h().Hungry = 3450;
    const int hp = h().HP;
    h().Sick = 0;
    h().DoChangesWild();
    EXPECT_EQ(info(), L"Вы умираете с голоду!");
    EXPECT_NEAR(h().HardIness, 2.017, 1e-12);  // and a thousandth for the healed point
    EXPECT_EQ(h().HP, hp - 1);
}

TEST_F(Upkeep, TheWildernessPassAnnouncesDeathAfterSicknessAndPoison) {
    h().HP = 3;
    h().Hungry = 500;
    h().Sick = 3;
    h().DoChangesWild();
    EXPECT_TRUE(modVarsAndMain.PlayerDead);
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Вы умерли!"), 1);
    // This path leaves the record to game over, which ends the run in the hall of fame.
    EXPECT_EQ(ui.Count(L"ShowHallOfFame|modal"), 1);
    EXPECT_TRUE(modVarsAndMain.hallOfFame.writehf);
}
