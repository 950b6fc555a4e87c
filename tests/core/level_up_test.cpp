#include <string>

#include "platform/cp1251.h"
#include "test_support.h"

using namespace morvath;

namespace {

struct LevelUp : GameTest {

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

// Every level's gains by person, the random ones with the draws pinned at 0.5 and 0.25.
TEST_F(LevelUp, EveryLevelGainsByPerson) {
    struct Case {
        long person;
        int level;
        double strength, hardiness, mobility, magic, willpower, appearance;
        int maxHp;  // from 10: rounded half to even
    };
    const Case cases[] = {
        {kPrince, 3, 0.1, 0, 0, 0, 0, 0.2, 12},       {kPrince, 4, 0.6, 0.25 / 3, 0, 0, 0, 0.2, 12},
        {kPrince, 7, 0.1, 0, 0, 0.07, 0, 0.2, 14},    {kPrince, 15, 1.1, 0.5, 0, 0, 0, 0.2, 18},
        {kWarlock, 2, 0, 1, 0, 0.05, 0, 0, 10},       {kWarlock, 4, 1, 0, 0, 0.1, 0, 0, 11},
        {kWarlock, 6, 0, 0, 0, 0.15, 0, 0, 12},       {kWarlock, 10, 0, 0, 0, 1.25, 0, 0, 12},
        {kMonk, 3, 1, 0.85, 0, 3 / 54.0, 0.2, 0, 11}, {kMonk, 5, 0, 0.1, 0, 5 / 54.0, 0.2, 0, 11},
        {kMonk, 14, 0, 2.1, 0, 14 / 54.0, 0.2, 0, 14}, {kClaw, 3, 1, 0.5, 1.2, 0, 0, 0, 11},
        {kClaw, 5, 0, 0, 0.2, 0, 0, 0, 12},           {kClaw, 10, 0, 0, 2.2, 0, 0, 0, 13},
        {kClaw, 14, 0, 0, 1.7, 0, 0, 0, 15},          {kHunter, 5, 0, 0, 0.3, 0, 0, 0, 11},
        {kHunter, 10, 0, 2, 1.3, 0, 0, 0, 12},        {kHunter, 13, 0, 0, 1.3, 0, 0, 0, 13},
        {kHunter, 15, 1.5, 0.75, 1.3, 0, 0, 0, 13},
    };
    for (const Case& c : cases) {
        h() = MainCharacter{};
        h().MaxHp = 10;
        PinnedDraws draws{0.5, 0.25};
        ReachLevel(c.person, c.level);
        const std::string at = std::to_string(c.person) + " level " + std::to_string(c.level);
        EXPECT_DOUBLE_EQ(h().Strenght, c.strength) << at;
        EXPECT_DOUBLE_EQ(h().HardIness, c.hardiness) << at;
        EXPECT_DOUBLE_EQ(h().Mobility, c.mobility) << at;
        EXPECT_DOUBLE_EQ(h().Magic, c.magic) << at;
        EXPECT_DOUBLE_EQ(h().WillPower, c.willpower) << at;
        EXPECT_DOUBLE_EQ(h().Appearance, c.appearance) << at;
        EXPECT_EQ(h().MaxHp, c.maxHp) << at;
    }
    // No such person: the level and its message only.
    h() = MainCharacter{};
    h().MaxHp = 10;
    h().Profession = 9;
    h().Exp = 4;
    h().UpdateLevel();
    EXPECT_EQ(h().Level, 1);
    EXPECT_EQ(h().MaxHp, 10);
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Вы получили уровень:1\r\n\r\n[пробел]");
}

TEST_F(LevelUp, SpellsAtTheirLevels) {
    auto& g = modVarsAndMain;
    ReachLevel(kWarlock, 2);
    EXPECT_TRUE(g.CurseKnown && !g.NightKnown);
    ReachLevel(kWarlock, 4);
    EXPECT_TRUE(g.NightKnown);
    ResetGame();
    g.CreateRoots();
    h().Science = 3;
    ReachLevel(kMonk, 10);
    EXPECT_EQ(h().Science, 5);
    EXPECT_TRUE(g.HealingKnown && !g.CurseKnown);
    ReachLevel(kMonk, 12);
    EXPECT_TRUE(g.CurseKnown);
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
    auto sheet = ReadBytes(fs::path(MORVATH_TEST_DATA) / "character_sheet.txt");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(ui.log[0], L"ShowText|modal|" + FromUtf8(ToCrlf(*sheet)));
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
    const std::pair<double, const wchar_t*> alignments[] = {
        {0.5, L""}, {1, L""}, {-0.5, L""}, {-1, L"Вы склоняетесь к духам Добра"}, {-5, L"Вы склоняетесь к духам Добра"},
        {-10, L"Духи Добра расположены к вам.."}, {0, L"Вы находитесь на перепутье между Духами"},
        {1.5, L"Вы склонились в сторону Духов Зла"}, {10, L"Вы склонились в сторону Духов Зла"}, {10.5, L"Вами владеют Духи Зла"}};
    for (auto [doom, text] : alignments) EXPECT_EQ(sheetLines(kWarlock, doom)[3], text) << doom;
    EXPECT_EQ(sheetLines(kWarlock, 0)[1], L"Чернокнижник");
    for (long person : {kMonk, kClaw, kHunter}) {
        auto lines = sheetLines(person, 0);
        EXPECT_EQ(lines[1], L"");
        EXPECT_EQ(lines[13], L"Сила Удара:0");  // no behaviour line for an unknown tactic
    }
}
