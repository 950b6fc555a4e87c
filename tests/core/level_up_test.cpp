#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "platform/frontend.h"
#include "platform/random.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

struct LevelUp : ::testing::Test {
    ScriptedFrontend ui;

    void SetUp() override {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SeedRandom(5);
    }
    MainCharacter& h() { return *modVarsAndMain.Player; }

    // Takes the hero of a person from level L - 1 to level L.
    void ReachLevel(long person, int L) {
        h().Profession = person;
        h().Level = L - 1;
        h().Exp = L * 4;
        h().UpdateLevel();
        ASSERT_EQ(h().Level, L);
    }
    std::wstring Skill(int row) { return modVarsAndMain.Skills[row][0].ToText(); }
};

}  // namespace

TEST_F(LevelUp, ExperienceBuysOneLevelPerTurn) {
    h().Exp = 100;
    h().UpdateLevel();
    EXPECT_EQ(h().Level, 1);
    EXPECT_EQ(h().Exp, 0);
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Вы получили уровень:1\r\n\r\n[пробел]");
    h().Exp = 7;  // level 2 needs 8
    h().UpdateLevel();
    EXPECT_EQ(h().Level, 1);
    EXPECT_EQ(h().Exp, 7);
}

TEST_F(LevelUp, EveryLevelGainsByPerson) {
    h().MaxHp = 10;
    ReachLevel(kPrince, 3);  // 3 / 2 + 10 = 11.5 -> 12
    EXPECT_EQ(h().MaxHp, 12);
    EXPECT_DOUBLE_EQ(h().Appearance, 0.2);
    EXPECT_DOUBLE_EQ(h().Strenght, 0.1);

    h() = MainCharacter{};
    h().MaxHp = 10;
    ReachLevel(kWarlock, 6);  // 6 / 4 + 10 = 11.5 -> 12
    EXPECT_EQ(h().MaxHp, 12);
    EXPECT_DOUBLE_EQ(h().Magic, 6 / 40.0);

    h() = MainCharacter{};
    h().MaxHp = 10;
    ReachLevel(kMonk, 5);  // 11.25 -> 11
    EXPECT_EQ(h().MaxHp, 11);
    EXPECT_DOUBLE_EQ(h().Magic, 5 / 54.0);
    EXPECT_DOUBLE_EQ(h().WillPower, 0.2);
    EXPECT_DOUBLE_EQ(h().HardIness, 0.1);

    h() = MainCharacter{};
    h().MaxHp = 10;
    ReachLevel(kClaw, 5);  // 11.67 -> 12
    EXPECT_EQ(h().MaxHp, 12);
    EXPECT_DOUBLE_EQ(h().Mobility, 0.2);

    h() = MainCharacter{};
    h().MaxHp = 10;
    ReachLevel(kHunter, 5);  // 11
    EXPECT_EQ(h().MaxHp, 11);
    EXPECT_DOUBLE_EQ(h().Mobility, 0.3);

    h() = MainCharacter{};
    h().MaxHp = 10;
    h().Profession = 9;  // no such person: the level and its message only
    h().Exp = 4;
    h().UpdateLevel();
    EXPECT_EQ(h().Level, 1);
    EXPECT_EQ(h().MaxHp, 10);
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Вы получили уровень:1\r\n\r\n[пробел]");
}

TEST_F(LevelUp, SpellsAndFixedGainsAtTheirLevels) {
    ReachLevel(kWarlock, 2);
    EXPECT_TRUE(modVarsAndMain.CurseKnown);
    EXPECT_FALSE(modVarsAndMain.NightKnown);
    EXPECT_GE(h().HardIness, 0);
    EXPECT_LT(h().HardIness, 2);
    ReachLevel(kWarlock, 4);
    EXPECT_TRUE(modVarsAndMain.NightKnown);
    const double magic = h().Magic;
    ReachLevel(kWarlock, 10);
    EXPECT_DOUBLE_EQ(h().Magic, magic + 10 / 40.0 + 1);

    ResetGame();
    modVarsAndMain.CreateRoots();
    h().Science = 3;
    ReachLevel(kMonk, 10);
    EXPECT_EQ(h().Science, 5);
    EXPECT_TRUE(modVarsAndMain.HealingKnown);
    EXPECT_FALSE(modVarsAndMain.CurseKnown);
    ReachLevel(kMonk, 12);
    EXPECT_TRUE(modVarsAndMain.CurseKnown);

    h() = MainCharacter{};
    ReachLevel(kClaw, 10);
    EXPECT_DOUBLE_EQ(h().Mobility, 2.2);
    h() = MainCharacter{};
    ReachLevel(kHunter, 10);
    EXPECT_DOUBLE_EQ(h().Mobility, 1.3);
    EXPECT_DOUBLE_EQ(h().HardIness, 2);
    h() = MainCharacter{};
    ReachLevel(kPrince, 7);
    EXPECT_DOUBLE_EQ(h().Magic, 0.07);
    h() = MainCharacter{};
    ReachLevel(kClaw, 3);
    EXPECT_GE(h().Mobility, 1.2);
    EXPECT_LT(h().Strenght, 2);
}

// Each random gain is a fresh draw of its own, in the order the gains are listed.
TEST_F(LevelUp, RandomExtrasDrawFreshNumbersInTurn) {
    auto draws = [](std::uint64_t seed) {
        SeedRandom(seed);
        std::pair<double, double> r;
        r.first = Rnd();
        r.second = Rnd();
        SeedRandom(seed);
        return r;
    };
    auto reach = [&](long person, int level, std::uint64_t seed) {
        auto r = draws(seed);
        h() = MainCharacter{};
        ReachLevel(person, level);
        return r;
    };
    std::uint64_t seed = 100;
    auto [a, b] = reach(kPrince, 4, ++seed);
    EXPECT_DOUBLE_EQ(h().Strenght, 0.1 + a * 4 / 4);
    EXPECT_DOUBLE_EQ(h().HardIness, b * 4 / 12);
    std::tie(a, b) = reach(kPrince, 15, ++seed);
    EXPECT_DOUBLE_EQ(h().Strenght, 0.1 + 2 * a);
    EXPECT_DOUBLE_EQ(h().HardIness, 2 * b);
    std::tie(a, b) = reach(kWarlock, 2, ++seed);
    EXPECT_DOUBLE_EQ(h().HardIness, 2 * a);
    EXPECT_EQ(h().Strenght, 0);
    std::tie(a, b) = reach(kWarlock, 4, ++seed);
    EXPECT_DOUBLE_EQ(h().Strenght, 2 * a);
    EXPECT_EQ(h().HardIness, 0);
    std::tie(a, b) = reach(kMonk, 3, ++seed);
    EXPECT_DOUBLE_EQ(h().Strenght, 2 * a);
    EXPECT_DOUBLE_EQ(h().HardIness, 0.1 + 3 * b);
    std::tie(a, b) = reach(kMonk, 14, ++seed);
    EXPECT_DOUBLE_EQ(h().HardIness, 0.1 + 4 * a);
    std::tie(a, b) = reach(kClaw, 3, ++seed);
    EXPECT_DOUBLE_EQ(h().Strenght, 2 * a);
    EXPECT_DOUBLE_EQ(h().HardIness, 2 * b);
    EXPECT_DOUBLE_EQ(h().Mobility, 1.2);
    std::tie(a, b) = reach(kClaw, 14, ++seed);
    EXPECT_DOUBLE_EQ(h().Mobility, 0.2 + 3 * a);
    std::tie(a, b) = reach(kHunter, 13, ++seed);
    EXPECT_DOUBLE_EQ(h().Mobility, 0.3 + 2 * a);
    std::tie(a, b) = reach(kHunter, 15, ++seed);
    EXPECT_DOUBLE_EQ(h().Strenght, 3 * a);
    EXPECT_DOUBLE_EQ(h().HardIness, 3 * b);
    EXPECT_DOUBLE_EQ(h().Mobility, 1.3);
}

TEST_F(LevelUp, SkillsGoToTheNextFreeRow) {
    modVarsAndMain.Skills[0][0] = Variant(L"Литература");
    modVarsAndMain.LastSkillIndex = 0;
    ReachLevel(kHunter, 3);
    EXPECT_EQ(Skill(1), L"Знание трав");
    ReachLevel(kHunter, 6);
    EXPECT_EQ(Skill(2), L"Подстерегать");
    EXPECT_EQ(modVarsAndMain.LastSkillIndex, 2);

    const std::pair<long, int> grants[] = {{kPrince, 10}, {kWarlock, 14}, {kMonk, 7}, {kClaw, 7}, {kClaw, 12}};
    const wchar_t* names[] = {L"Умение убеждать", L"Воскрешать мёртвых", L"Освятить вещь", L"Отравленный зуб",
                              L"Алхимия"};
    for (int i = 0; i < 5; ++i) {
        ReachLevel(grants[i].first, grants[i].second);
        EXPECT_EQ(Skill(3 + i), names[i]);
    }
}

TEST_F(LevelUp, AFullSkillsTableLearnsNothingMore) {
    modVarsAndMain.LastSkillIndex = 20;
    modVarsAndMain.Skills[20][0] = Variant(L"Последний");
    ReachLevel(kHunter, 3);
    EXPECT_EQ(modVarsAndMain.LastSkillIndex, 20);
    EXPECT_EQ(Skill(20), L"Последний");
}

TEST_F(LevelUp, ManaRegenerationIsRecomputedEveryTurn) {
    h().Science = 7;
    h().Magic = 5;
    h().Profession = kWarlock;
    h().UpdateLevel();
    EXPECT_DOUBLE_EQ(h().MConst, 7 / 70.0 + 5 / 25.0);
    h().Profession = kHunter;
    h().UpdateLevel();
    EXPECT_DOUBLE_EQ(h().MConst, 7 / 100.0 + 5 / 50.0);
}

TEST_F(LevelUp, CharacterSheet) {
    auto& c = h();
    c.PlayerName = L"Ратибор";
    c.Profession = kPrince;
    c.Doom = -12;
    c.Level = 3;
    c.Exp = 5;
    c.HP = 14;
    c.MaxHp = 20;
    c.Mana = 7.8;
    c.HeroeWeight = 72.5;
    c.Weight = 12.25;
    c.MaxWeight = 31.9;
    c.HeroeTactic = 1;
    c.Weapon = 6;
    c.Defence = 2.5;
    c.Mobility = 9.7;
    c.Constitution = 4;
    c.Strenght = 8.9;
    c.HardIness = 3.2;
    c.Alertness = 6;
    c.Learning = 5;
    c.WillPower = 4.4;
    c.Science = 3;
    c.Magic = 1.5;
    c.Appearance = 7.7;
    c.Show_Char();
    EXPECT_EQ(ui.textCaption, L"Характеристики");
    ASSERT_EQ(ui.log.size(), 1u);
    EXPECT_EQ(ui.log[0],
              L"ShowText|modal|"
              L"Ратибор - Характеристики\r\n"
              L"Князь\r\n"
              L"\r\n"
              L"Вы преклоняетесь перед духами Добра\r\n"
              L"\r\n"
              L"Уровень:3\r\n"
              L"Экспа:5/16\r\n"
              L"\r\n"
              L"HP:14/20\r\n"
              L"Мана:7\r\n"
              L"Вес Персонажа:72.5\r\n"
              L"Вес Предметов:12.25\r\n"
              L"Макс. поднимаемый вес:31\r\n"
              L"Поведение: агрессивное\r\n"
              L"Сила Удара:6\r\n"
              L"Защита:2.5\r\n"
              L"Ускользание от удара:4\r\n"
              L"-------------------------\r\n"
              L"Сила:8\r\n"
              L"Ловкость:9\r\n"
              L"Выносливость:3\r\n"
              L"Телосложение:4\r\n"
              L"Чувствительность:6\r\n"
              L"Обучение:5\r\n"
              L"Воля:4\r\n"
              L"Мудрость:3\r\n"
              L"Магия:1\r\n"
              L"Обаяние:7\r\n");
}

TEST_F(LevelUp, AlignmentSentencesAndPersons) {
    auto sheetLines = [&](long person, double doom) {
        ui.log.clear();
        h().Profession = person;
        h().Doom = doom;
        h().HeroeTactic = 7;  // no behaviour line
        h().Show_Char();
        std::wstring t = ui.log.at(0).substr(std::wstring(L"ShowText|modal|").size());
        std::vector<std::wstring> lines;
        for (std::size_t p = 0; (p = t.find(L"\r\n")) != std::wstring::npos; t.erase(0, p + 2)) {
            lines.push_back(t.substr(0, p));
        }
        return lines;
    };
    EXPECT_EQ(sheetLines(kWarlock, 0.5)[3], L"");
    EXPECT_EQ(sheetLines(kWarlock, 1)[3], L"");
    EXPECT_EQ(sheetLines(kWarlock, -0.5)[3], L"");
    EXPECT_EQ(sheetLines(kWarlock, -1)[3], L"Вы склоняетесь к духам Добра");
    EXPECT_EQ(sheetLines(kWarlock, -5)[3], L"Вы склоняетесь к духам Добра");
    EXPECT_EQ(sheetLines(kWarlock, -10)[3], L"Духи Добра расположены к вам..");
    EXPECT_EQ(sheetLines(kWarlock, 0)[3], L"Вы находитесь на перепутье между Духами");
    EXPECT_EQ(sheetLines(kWarlock, 1.5)[3], L"Вы склонились в сторону Духов Зла");
    EXPECT_EQ(sheetLines(kWarlock, 10)[3], L"Вы склонились в сторону Духов Зла");
    EXPECT_EQ(sheetLines(kWarlock, 10.5)[3], L"Вами владеют Духи Зла");
    EXPECT_EQ(sheetLines(kWarlock, 0)[1], L"Чернокнижник");
    for (long person : {kMonk, kClaw, kHunter}) {
        auto lines = sheetLines(person, 0);
        EXPECT_EQ(lines[1], L"");
        EXPECT_EQ(lines[13], L"Сила Удара:0");  // no behaviour line for an unknown tactic
    }
}
