#include <tuple>

#include "test_support.h"

using namespace morvath;

namespace {

// A death here runs game over, which empties the game folder's save folder.
struct Upkeep : GameTest {
    Upkeep() : GameTest(3) {
        w().WorldName = L"N1";
        h().HP = h().MaxHp = 10;
    }
    std::wstring& info() { return modVarsAndMain.screen.lblII; }
    const std::wstring& speech() { return modVarsAndMain.screen.txtSpeech; }
    int Died() { return ui.Count(L"MsgBox|Morvath|Вы умерли!"); }
};

}  // namespace

TEST_F(Upkeep, HungerBandsInOrdinaryLocations) {
    // Hunger hardens the hero (from 1); starving costs up to four hit points, by the draw.
    struct Case { int hungry; const wchar_t* text; double hardiness, draw; int hp, beeps; };
    const Case cases[] = {{-20, L"Объетый", 1, 0, 10, 0}, {-19, L"Сытый", 1, 0, 10, 0}, {99, L"Сытый", 1, 0, 10, 0}, {100, L"", 1, 0, 10, 0},
                          {2999, L"", 1, 0, 10, 0}, {3000, L"Вам хочеться есть...", 1.0001, 0, 10, 0},
                          {4499, L"Вам хочеться есть...", 1.0001, 0.99, 10, 0}, {4500, L"Вы умираете с голоду!", 1.001, 0.99, 6, 1},
                          {5000, L"Вы умираете с голоду!", 1.001, 0.1, 10, 1}};
    for (const Case& c : cases) {
        std::tie(h().HardIness, h().HP, h().Hungry) = std::tuple(1, 10, c.hungry);
        ui.log.clear();
        info().clear();
        PinnedDraws draws{c.draw};
        h().UpdateHungry();
        EXPECT_DOUBLE_EQ(h().HardIness, c.hardiness) << c.hungry;
        EXPECT_EQ(std::tuple(info(), int(h().HP), ui.Count(L"Beep")), std::tuple(c.text, c.hp, c.beeps)) << c.hungry;
    }
}

TEST_F(Upkeep, HungerGrowsByConstitutionAndStrengthAndStopsInSleep) {
    std::tie(h().Constitution, h().Strenght, h().HardIness, h().Hungry) = std::tuple(6, 4, 3, 10);
    h().UpdateHungry();
    EXPECT_EQ(h().Hungry, 12);  // 10 / 4 = 2.5 rounds to the even 2
    h().Sleep = true;
    h().UpdateHungry();
    std::tie(h().Sleep, h().HardIness) = std::tuple(false, -1);  // a zero divisor skips the statement
    h().UpdateHungry();
    EXPECT_EQ(h().Hungry, 12);
}

TEST_F(Upkeep, RegenerationAndDeathInOrdinaryLocations) {
    h().HP = 5;
    h().Constitution = h().HardIness = 10;
    struct Step { double strength; int hpBefore, hpAfter; };
    // r = (constitution + strength + hardiness) / 80; r = 4 would overshoot: exactly one point.
    for (const Step& s : {Step{19.9, 5, 5}, Step{60, 5, 6}, Step{300, 9, 10}, Step{300, 10, 10}}) {
        h().Strenght = s.strength;
        h().HP = s.hpBefore;
        h().UpdateHP();
        EXPECT_EQ(h().HP, s.hpAfter) << s.strength;
        if (s.strength < 20) { EXPECT_NEAR(h().regenerationCarry, 39.9 / 80, 1e-12); }
    }
    // Death is announced once and handed to game over.
    h().HP = 0;
    h().UpdateHP();
    EXPECT_EQ(std::tuple(Died(), modVarsAndMain.PlayerDead, modVarsAndMain.hallOfFame.writehf), std::tuple(1, true, true));
    h().HP = 0;
    h().UpdateHP();
    h().DoChangesWild();
    EXPECT_EQ(Died(), 1);
}

TEST_F(Upkeep, SicknessPoisonAndManaInOrdinaryTurns) {
    std::tie(h().HP, h().MaxHp, h().Sick, h().Poison, h().Hungry) = std::tuple(20, 30, 5, 9, 500);
    h().Magic = 1;  // mana ceiling 20
    h().Profession = kPrince;
    h().MConst = 0.02;  // recomputed each turn: Science 0, Magic 1 -> 0.02
    h().Mana = 19.97;
    h().DoChanges();
    EXPECT_EQ(std::tuple(int(h().HP), int(h().Sick), int(h().Poison)), std::tuple(20 - 2 - 2, 4, 8));
    EXPECT_NE(info().find(L" Болен Отравлен"), std::wstring::npos);
    EXPECT_DOUBLE_EQ(h().Mana, 19.99);
    h().DoChanges();  // 19.99 + 0.02 is not below 20
    EXPECT_DOUBLE_EQ(h().Mana, 19.99);
}

TEST_F(Upkeep, StatusLine) {
    h().Exp = 3;
    h().Level = 2;
    modVarsAndMain.TheWorld->Day = 5;
    modVarsAndMain.TheWorld->Turn = 7;
    for (auto [hp, mana, line] : {std::tuple{10, 3.9, L"ХП: 10 Опыт:3  Ур:2  День:5 Ход:7  Мана:3"},
                                  std::tuple{-4, -2.0, L"ХП: -4 Опыт:3  Ур:2  День:5 Ход:7  Мана:"}}) {
        h().HP = hp;
        h().Mana = mana;
        h().Show_Status();
        EXPECT_EQ(modVarsAndMain.screen.lblInfo, line);
    }
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
    EXPECT_EQ(std::tuple(h().Weight, int(h().TiredConst)), std::tuple(1 + 6 + 0.5 + 10, 2));
    ResetGame();
    modVarsAndMain.CreateRoots();
    for (auto [legs, tired] : {std::pair{4.9, 0}, std::pair{25.0, 2}}) {  // 2.5 to the even neighbour
        modVarsAndMain.Equip[kSlotLegs][kEqWeight] = legs;
        h().DoWeight();
        EXPECT_EQ(std::tuple(h().Weight, int(h().TiredConst)), std::tuple(legs, tired));
    }
}

TEST_F(Upkeep, OverloadBands) {
    std::tie(h().MaxWeight, h().TiredConst, h().HardIness, h().Strenght) = std::tuple(14, 3, 0, 0);
    struct Case { double weight; int hungry, tired; bool free; const wchar_t* text; int hungryAfter, tiredAfter; };
    const Case cases[] = {
        {7, 10, 100, true, L"", 10, 100},                  // exactly half: free
        {7.5, 10, 100, true, L" Перегружен", 10, 102},     // 10.5 to the even 10, 101.5 to 102
        {7.5, 11, 100, true, L" Перегружен", 12, 102},
        {14 / 1.4, 10, 100, true, L"", 10, 100},           // between the bands: free
        {13.9, 10, 100, true, L" Сильно Перегружен", 11, 103},
        {14, 10, 100, false, L"", 10, 100},
    };
    for (const Case& c : cases) {
        h().HardIness = h().Strenght = 0;
        std::tie(h().Weight, h().Hungry, h().Tired) = std::tuple(c.weight, c.hungry, c.tired);
        info().clear();
        const bool free = h().CheckWeight();
        EXPECT_EQ(std::tuple(free, info(), int(h().Hungry), int(h().Tired)), std::tuple(c.free, c.text, c.hungryAfter, c.tiredAfter))
            << c.weight;
        if (c.weight == 7.5) { EXPECT_NEAR(h().HardIness + 1000 * h().Strenght, 0.007 + 1, 1e-12); }  // it hardens
    }
}

TEST_F(Upkeep, DodgeValueByLoad) {
    std::tie(h().Mobility, h().Constitution, h().Tired, h().HeroeTactic, h().MaxWeight) = std::tuple(20, 5, 2000, -2, 14);
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
    EXPECT_EQ(std::tuple(h().Sleep, int(h().Tired)), std::tuple(false, 4400));
}

// Above 4400 the three fatigue texts are spoken in their order, and only then does the hero
// fall asleep: the first turn of the sleep finds the last of them in the speech box. He
// sleeps until rested.
TEST_F(Upkeep, AboveTheLastBandTheHeroFallsAsleepUntilRested) {
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
    std::tie(h().Profession, h().TiredConst, h().Tired, h().HP, h().MaxHp) = std::tuple(kWarlock, 1, 4400, 3, 50);
    h().CheckTired();
    ASSERT_TRUE(watch.seen);
    // Then "Вы проснулись!"; a mana point per sleeping turn: 4401 falls by 50 in 89 turns.
    EXPECT_EQ(std::tuple(watch.firstSerial - before, watch.firstSpeech, modVarsAndMain.screen.speechSerial - before, speech(), h().Sleep,
                         h().Mana, int(h().HP)),
              std::tuple(3u, L"Вы внезапно заснули...\r\n\r\n[пробел]", 4u, L"Вы проснулись!\r\n\r\n[пробел]", false, 89.0, 50));
    EXPECT_GT(h().Tired, -50);
    EXPECT_LE(h().Tired, 0);
}

TEST_F(Upkeep, SleepingOnTheWildernessMapEnds) {
    std::tie(h().Sleep, h().TiredConst, h().Tired, h().Hungry) = std::tuple(true, 10, 100, 500);
    h().DoChangesWild();
    EXPECT_EQ(h().Tired, 100);  // no fatigue accrues in sleep
    std::tie(h().Sleep, h().Tired) = std::tuple(false, 0);
    h().DoChangesWild();
    EXPECT_EQ(h().Tired, 100);
}

TEST_F(Upkeep, WildernessStep) {
    std::tie(h().Constitution, h().Strenght, h().HardIness, h().Hungry, h().HP) = std::tuple(10, 2, 2, 0, 5);
    info() = L"old";
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(int(h().Hungry), info(), int(h().HP)), std::tuple(50, L"Сытый", 5));  // 25 * (1 + 2 - 2) + 0 + 25
    EXPECT_NEAR(h().regenerationCarry, 0.6, 1e-12);
    h().DoChangesWild();  // the carry reaches 1.2: one point, and the carry starts again
    EXPECT_EQ(std::tuple(int(h().HP), h().regenerationCarry), std::tuple(6, 0.0));
    EXPECT_DOUBLE_EQ(h().HardIness, 2.001);

    std::tie(h().Hungry, h().HardIness) = std::tuple(2450, 2);
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(int(h().Hungry), info()), std::tuple(2500, L"Вам хочеться есть..."));
    EXPECT_NEAR(h().HardIness, 2.006, 1e-12);  // hunger hardens

    std::tie(h().Hungry, h().Sick) = std::tuple(-100, 3);
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(info(), int(h().Sick)), std::tuple(L"Объетый Болен", 2));

    h().Hungry = 3450;
    const int hp = h().HP;
    h().Sick = 0;
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(info(), int(h().HP)), std::tuple(L"Вы умираете с голоду!", hp - 1));
    EXPECT_NEAR(h().HardIness, 2.017, 1e-12);  // and a thousandth for the healed point
}

TEST_F(Upkeep, TheWildernessPassAnnouncesDeathAfterSicknessAndPoison) {
    std::tie(h().HP, h().Hungry, h().Sick) = std::tuple(3, 500, 3);
    h().DoChangesWild();
    // This path leaves the record to game over, which ends the run in the hall of fame.
    EXPECT_EQ(std::tuple(modVarsAndMain.PlayerDead, Died(), ui.Count(L"ShowHallOfFame|modal"), modVarsAndMain.hallOfFame.writehf),
              std::tuple(true, 1, 1, true));
}
