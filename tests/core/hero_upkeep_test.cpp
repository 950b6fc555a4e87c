// The hero turn by turn: hunger, health, sickness, load and sleep; then his levels, what each
// one brings by person, and the character sheet.
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
    int Died() { return ui.Count(L"MsgBox||Вы умерли!"); }
};

struct LevelUp : GameTest {
    // Takes the hero of a person from level L - 1 to level L.
    void ReachLevel(long person, int L) {
        std::tie(h().Profession, h().Level, h().Exp) = std::tuple(person, L - 1, L * 4);
        h().UpdateLevel();
        ASSERT_EQ(h().Level, L);
    }
    std::wstring Skill(int row) { return modVarsAndMain.Skills[row][0].ToText(); }
};

}  // namespace

// Hunger hardens the hero (from 1); starving costs up to four hit points, by the draw. Hunger
// grows by (constitution + strength) / (hardiness + 1), not in sleep, and not by a zero divisor.
TEST_F(Upkeep, HungerInOrdinaryLocations) {
    const std::tuple<int, double, const wchar_t*, double, int, int> cases[] = {  // hungry, draw; text, hardiness, hp, beeps
        {-20, 0, L"Объетый", 1, 10, 0}, {-19, 0, L"Сытый", 1, 10, 0}, {100, 0, L"", 1, 10, 0}, {3000, 0, L"Вам хочеться есть...", 1 + 0.0001, 10, 0},
        {4499, .99, L"Вам хочеться есть...", 1 + 0.0001, 10, 0}, {4500, .99, L"Вы умираете с голоду!", 1 + 0.001, 6, 1},
        {5000, .1, L"Вы умираете с голоду!", 1 + 0.001, 10, 1}};
    for (const auto& [hungry, draw, text, hardiness, hp, beeps] : cases) {
        std::tie(h().HardIness, h().HP, h().Hungry, info(), ui.log) = std::tuple(1, 10, hungry, L"", std::vector<std::wstring>{});
        PinnedDraws draws{draw};
        h().UpdateHungry();
        EXPECT_EQ(std::tuple(info(), h().HardIness, int(h().HP), ui.Count(L"Beep")), std::tuple(text, hardiness, hp, beeps)) << hungry;
    }
    std::tie(h().Constitution, h().Strenght, h().Hungry) = std::tuple(6, 4, 10);
    for (auto [sleep, hardiness] : {std::pair{false, 3}, {true, 3}, {false, -1}}) {
        std::tie(h().Sleep, h().HardIness) = std::tuple(sleep, hardiness);
        h().UpdateHungry();
    }
    EXPECT_EQ(h().Hungry, 12);  // 10 / 4 = 2.5 rounds to the even 2, once
}

// r = (constitution + strength + hardiness) / 80; r = 4 would overshoot: exactly one point.
// Death is announced once and handed to game over.
TEST_F(Upkeep, RegenerationAndDeathInOrdinaryLocations) {
    h().Constitution = h().HardIness = 10;
    for (auto [strength, before, after] : {std::tuple{19.9, 5, 5}, {60.0, 5, 6}, {300.0, 9, 10}, {300.0, 10, 10}, {19.9, 1, 1}}) {
        std::tie(h().Strenght, h().HP) = std::tuple(strength, before);
        h().UpdateHP();
        EXPECT_EQ(std::pair(int(h().HP), modVarsAndMain.PlayerDead), std::pair(after, false)) << strength;  // one hit point lives
    }
    for (int i = 0; i < 2; ++i) {
        h().HP = 0;
        h().UpdateHP();
    }
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(Died(), modVarsAndMain.PlayerDead, modVarsAndMain.hallOfFame.writehf), std::tuple(1, true, true));
}

// The status line shows the whole mana, and none below zero.
TEST_F(Upkeep, SicknessPoisonManaAndTheStatusLineInOrdinaryTurns) {
    std::tie(h().HP, h().MaxHp, h().Sick, h().Poison, h().Hungry, h().Magic, h().MConst, h().Mana, h().Exp, h().Level, w().Day, w().Turn) =
        std::tuple(20, 30, 5, 9, 500, 1, 0.02, 19.97, 3, 2, 5, 7);
    h().DoChanges();  // the mana ceiling is 20
    EXPECT_EQ(std::tuple(int(h().HP), int(h().Sick), int(h().Poison), info().find(L" Болен Отравлен") != std::wstring::npos), std::tuple(16, 4, 8, true));
    EXPECT_DOUBLE_EQ(h().Mana, 19.99);
    h().DoChanges();  // 19.99 + 0.02 is not below 20
    EXPECT_DOUBLE_EQ(h().Mana, 19.99);
    std::tie(h().HP, h().Sick, h().Poison, h().Hungry) = std::tuple(5, 0, 8, 0);
    h().DoChangesWild();  // a turn on the wilderness map: the poison takes 4 of his 5 hit points, one is enough to live on
    EXPECT_EQ(std::pair(Died(), modVarsAndMain.PlayerDead), std::pair(0, false));
    for (auto [hp, mana, line] : {std::tuple{10, 3.9, L"ХП: 10 Опыт:3  Ур:2  День:5 Ход:7  Мана:3"}, {-4, -2.0, L"ХП: -4 Опыт:3  Ур:2  День:5 Ход:7  Мана:"}}) {
        std::tie(h().HP, h().Mana) = std::tuple(hp, mana);
        h().Show_Status();
        EXPECT_EQ(modVarsAndMain.screen.lblInfo, line);
    }
}

TEST_F(Upkeep, OverloadBandsAndTheDodgeValue) {
    std::tie(h().MaxWeight, h().TiredConst) = std::tuple(14, 3);
    // weight, hungry; free, text, hungry, tired after, hardiness and strength gained in thousandths
    const std::tuple<double, int, bool, const wchar_t*, int, int, int, int> cases[] = {
        {7, 10, true, L"", 10, 100, 0, 0},                   // exactly half: free
        {7.5, 10, true, L" Перегружен", 10, 102, 7, 1},      // 10.5 to the even 10, 101.5 to 102
        {7.5, 11, true, L" Перегружен", 12, 102, 7, 1},
        {14 / 1.4, 10, true, L"", 10, 100, 0, 0},            // between the bands: free
        {13.9, 10, true, L" Сильно Перегружен", 11, 103, 9, 3},
        {14, 10, false, L"", 10, 100, 0, 0}};
    for (const auto& [weight, hungry, free, text, hungryAfter, tiredAfter, hardened, strengthened] : cases) {
        std::tie(h().HardIness, h().Strenght, h().Weight, h().Hungry, h().Tired, info()) = std::tuple(0, 0, weight, hungry, 100, L"");
        const bool went = h().CheckWeight();
        EXPECT_EQ(std::tuple(went, info(), int(h().Hungry), int(h().Tired), std::lround(h().HardIness * 1000), std::lround(h().Strenght * 1000)),
                  std::tuple(free, text, hungryAfter, tiredAfter, hardened, strengthened)) << weight;
    }
    std::tie(h().Mobility, h().Constitution, h().Tired, h().HeroeTactic) = std::tuple(20, 5, 2000, -2);
    for (auto [weight, pv] : {std::pair{0.0, 17}, {7.5, 16}, {10.0, 17}, {10.5, 12}, {14.0, 7}}) {
        h().Weight = weight;
        h().calcPV();
        EXPECT_EQ(h().PV, pv) << weight;
    }
}

// Above 4400 the three fatigue texts are spoken in their order, and only then does the hero
// fall asleep: the first turn of the sleep finds the last of them in the speech box. He
// sleeps until rested, a mana point per sleeping turn: 4401 falls by 50 in 89 turns.
TEST_F(Upkeep, AboveTheLastBandTheHeroFallsAsleepUntilRested) {
    struct Watch : ScriptedFrontend {
        std::wstring firstSpeech;
        unsigned firstSerial = 0;
        void Redraw() override {
            if (firstSpeech.empty()) std::tie(firstSpeech, firstSerial) = std::tuple(modVarsAndMain.screen.txtSpeech, modVarsAndMain.screen.speechSerial);
        }
    } watch;
    const unsigned before = modVarsAndMain.screen.speechSerial;
    std::tie(h().Profession, h().TiredConst, h().Tired, h().HP, h().MaxHp) = std::tuple(kWarlock, 1, 4400, 3, 50);
    h().CheckTired();
    EXPECT_EQ(std::tuple(watch.firstSerial - before, watch.firstSpeech, modVarsAndMain.screen.speechSerial - before, speech(), h().Sleep,
                         h().Mana, int(h().HP), h().Tired > -50 && h().Tired <= 0),
              std::tuple(3u, L"Вы внезапно заснули...\r\n\r\n[пробел]", 4u, L"Вы проснулись!\r\n\r\n[пробел]", false, 89.0, 50, true));
}

// Hunger grows by 25 * (1 + strength - hardiness) + 25; the carry of (2 * hardiness + strength)
// / 10 heals a point when it reaches 1, and hardens by a thousandth. No fatigue accrues in sleep.
TEST_F(Upkeep, WildernessStepAndDeath) {
    std::tie(h().Constitution, h().Strenght, h().HardIness, h().Hungry, h().HP, h().TiredConst, h().Sleep, info()) = std::tuple(10, 2, 2, 0, 5, 10, true, L"old");
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(int(h().Hungry), info(), int(h().HP), int(h().Tired)), std::tuple(50, L"Сытый", 5, 0));
    h().Sleep = false;
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(int(h().HP), h().regenerationCarry, h().HardIness, int(h().Tired)), std::tuple(6, 0.0, 2 + 0.001, 100));
    const std::tuple<int, int, const wchar_t*, double, int> cases[] = {  // hungry, sick; text, hardiness, hp lost
        {2450, 0, L"Вам хочеться есть...", 2.006, 0}, {-100, 19, L"Объетый Болен", 2, 19}, {3450, 0, L"Вы умираете с голоду!", 2.01, 1},
        {-70, 0, L"Объетый", 2, 0}, {-69, 0, L"Сытый", 2, 0}};  // 50 more: -20 and -19
    for (const auto& [hungry, sick, text, hardiness, lost] : cases) {
        std::tie(h().Hungry, h().Sick, h().HardIness, h().HP, h().regenerationCarry) = std::tuple(hungry, sick, 2, 20, -9);
        h().DoChangesWild();
        EXPECT_EQ(std::tuple(info(), int(h().HP), int(h().Sick)), std::tuple(text, 20 - lost, sick ? sick - 1 : 0)) << hungry;
        EXPECT_NEAR(h().HardIness, hardiness, 1e-12) << hungry;
    }
    EXPECT_EQ(ui.Count(L"Beep"), 1);  // starving
    // A death here leaves the record to game over, which ends the run in the hall of fame.
    std::tie(h().HP, h().Hungry, h().Sick) = std::tuple(3, 500, 3);
    h().DoChangesWild();
    EXPECT_EQ(std::tuple(modVarsAndMain.PlayerDead, Died(), ui.Count(L"ShowHallOfFame|modal"), modVarsAndMain.hallOfFame.writehf), std::tuple(true, 1, 1, true));
}

TEST_F(LevelUp, ExperienceBuysOneLevelPerTurn) {
    h().Exp = 100;
    h().UpdateLevel();
    EXPECT_EQ(std::tuple(int(h().Level), int(h().Exp), modVarsAndMain.screen.txtSpeech), std::tuple(1, 0, L"Вы получили уровень:1\r\n\r\n[пробел]"));
    h().Exp = 7;  // level 2 needs 8
    h().UpdateLevel();
    EXPECT_EQ(std::tuple(int(h().Level), int(h().Exp)), std::tuple(1, 7));
}

// Every level's gains by person, the random ones with the draws pinned at 0.5 and 0.25: MaxHp
// from 10, rounded half to even; the spells (Curse, Night, Healing) and the science from 3.
TEST_F(LevelUp, EveryLevelGainsByPerson) {
    struct Case { long person; int level; double strength, hardiness, mobility, magic, willpower, appearance; int maxHp; const wchar_t* known; };
    const Case cases[] = {
        {kPrince, 3, 0.1, 0, 0, 0, 0, 0.2, 12, L"3"},       {kPrince, 4, 0.6, 0.25 / 3, 0, 0, 0, 0.2, 12, L"3"},
        {kPrince, 7, 0.1, 0, 0, 0.07, 0, 0.2, 14, L"3"},    {kPrince, 15, 1.1, 0.5, 0, 0, 0, 0.2, 18, L"3"},
        {kWarlock, 2, 0, 1, 0, 0.05, 0, 0, 10, L"C3"},      {kWarlock, 4, 1, 0, 0, 0.1, 0, 0, 11, L"N3"},
        {kWarlock, 6, 0, 0, 0, 0.15, 0, 0, 12, L"3"},       {kWarlock, 10, 0, 0, 0, 1.25, 0, 0, 12, L"3"},
        {kMonk, 3, 1, 0.85, 0, 3 / 54.0, 0.2, 0, 11, L"3"}, {kMonk, 5, 0, 0.1, 0, 5 / 54.0, 0.2, 0, 11, L"3"},
        {kMonk, 10, 0, 0.1, 0, 10 / 54.0, 0.2, 0, 12, L"H5"}, {kMonk, 12, 0, 0.1, 0, 12 / 54.0, 0.2, 0, 13, L"C3"},
        {kMonk, 14, 0, 2.1, 0, 14 / 54.0, 0.2, 0, 14, L"3"}, {kClaw, 3, 1, 0.5, 1.2, 0, 0, 0, 11, L"3"},
        {kClaw, 5, 0, 0, 0.2, 0, 0, 0, 12, L"3"},           {kClaw, 10, 0, 0, 2.2, 0, 0, 0, 13, L"3"},
        {kClaw, 14, 0, 0, 1.7, 0, 0, 0, 15, L"3"},          {kHunter, 5, 0, 0, 0.3, 0, 0, 0, 11, L"3"},
        {kHunter, 10, 0, 2, 1.3, 0, 0, 0, 12, L"3"},        {kHunter, 13, 0, 0, 1.3, 0, 0, 0, 13, L"3"},
        {kHunter, 15, 1.5, 0.75, 1.3, 0, 0, 0, 13, L"3"},    {9, 1, 0, 0, 0, 0, 0, 0, 10, L"3"},  // no such person: the level only
    };
    auto& g = modVarsAndMain;
    for (const Case& c : cases) {
        h() = MainCharacter{};
        std::tie(h().MaxHp, h().Science, g.CurseKnown, g.NightKnown, g.HealingKnown) = std::tuple(10, 3, false, false, false);
        PinnedDraws draws{0.5, 0.25};
        ReachLevel(c.person, c.level);
        auto r = [](double v) { return std::round(v * 1e9) / 1e9; };
        const auto& k = h();
        const std::wstring known = std::wstring(g.CurseKnown ? L"C" : L"") + (g.NightKnown ? L"N" : L"") + (g.HealingKnown ? L"H" : L"") + NumText(k.Science);
        EXPECT_EQ(std::tuple(r(k.Strenght), r(k.HardIness), r(k.Mobility), r(k.Magic), r(k.WillPower), r(k.Appearance), int(k.MaxHp), known),
                  std::tuple(r(c.strength), r(c.hardiness), r(c.mobility), r(c.magic), r(c.willpower), r(c.appearance), c.maxHp, c.known))
            << c.person << " level " << c.level;
    }
}

TEST_F(LevelUp, SkillsGoToTheNextFreeRow) {
    std::tie(modVarsAndMain.Skills[0][0], modVarsAndMain.LastSkillIndex) = std::tuple(Variant(L"Литература"), 0);
    const std::tuple<long, int, const wchar_t*> grants[] = {
        {kHunter, 3, L"Знание трав"},       {kHunter, 6, L"Подстерегать"},         {kPrince, 10, L"Умение убеждать"},
        {kWarlock, 14, L"Воскрешать мёртвых"}, {kMonk, 7, L"Освятить вещь"},       {kClaw, 7, L"Отравленный зуб"},
        {kClaw, 12, L"Алхимия"}};
    for (int row = 1; auto [person, level, name] : grants) {
        ReachLevel(person, level);
        EXPECT_EQ(std::tuple(Skill(row), int(modVarsAndMain.LastSkillIndex)), std::tuple(name, row));
        ++row;
    }
    // A full table learns nothing more.
    std::tie(modVarsAndMain.Skills[20][0], modVarsAndMain.LastSkillIndex) = std::tuple(Variant(L"Последний"), 20);
    ReachLevel(kHunter, 3);
    EXPECT_EQ(std::tuple(Skill(20), int(modVarsAndMain.LastSkillIndex)), std::tuple(L"Последний", 20));
}

TEST_F(LevelUp, CharacterSheet) {
    auto& c = h();
    std::tie(c.PlayerName, c.Profession, c.Doom, c.Level, c.Exp, c.HP, c.MaxHp, c.Mana, c.HeroeWeight, c.Weight, c.MaxWeight, c.HeroeTactic) =
        std::tuple(L"Ратибор", kPrince, -12, 3, 5, 14, 20, 7.8, 72.5, 12.25, 31.9, 1);
    std::tie(c.Weapon, c.Defence, c.Mobility, c.Constitution, c.Strenght, c.HardIness, c.Alertness, c.Learning, c.WillPower, c.Science, c.Magic,
             c.Appearance) = std::tuple(6, 2.5, 9.7, 4, 8.9, 3.2, 6, 5, 4.4, 3, 1.5, 7.7);
    c.Show_Char();
    auto sheet = ReadBytes(fs::path(MORVATH_TEST_DATA) / "character_sheet.txt");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(std::tuple(ui.textCaption, ui.log), std::tuple(L"Характеристики", std::vector<std::wstring>{L"ShowText|modal|" + FromUtf8(ToCrlf(*sheet))}));
    // Only the prince and the warlock name their person; a tactic out of range has no line.
    for (auto [person, line, tactic, behaviour] : {std::tuple(kWarlock, L"Чернокнижник", 7, L""), {kMonk, L"", 2, L"Поведение: берсерк"}, {kHunter, L"", -2, L"Поведение: скрытное"}}) {
        std::tie(c.Profession, c.HeroeTactic) = std::tuple(person, tactic);
        c.Show_Char();
        EXPECT_EQ(std::tuple(ui.log.back().find(L" - Характеристики\r\n" + std::wstring(line) + L"\r\n\r\n") != std::wstring::npos,
                             ui.log.back().find(*behaviour ? behaviour : L"Поведение") != std::wstring::npos), std::tuple(true, *behaviour != 0)) << person;
    }
}
