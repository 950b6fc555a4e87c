#include <cmath>
#include <tuple>

#include "platform/cp1251.h"
#include "test_support.h"

using namespace morvath;

namespace {

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

TEST_F(LevelUp, ExperienceBuysOneLevelPerTurn) {
    h().Exp = 100;
    h().UpdateLevel();
    EXPECT_EQ(std::tuple(int(h().Level), int(h().Exp), modVarsAndMain.screen.txtSpeech), std::tuple(1, 0, L"Вы получили уровень:1\r\n\r\n[пробел]"));
    h().Exp = 7;  // level 2 needs 8
    h().UpdateLevel();
    EXPECT_EQ(std::tuple(int(h().Level), int(h().Exp)), std::tuple(1, 7));
}

// Every level's gains by person, the random ones with the draws pinned at 0.5 and 0.25.
TEST_F(LevelUp, EveryLevelGainsByPerson) {
    // MaxHp from 10, rounded half to even.
    struct Case { long person; int level; double strength, hardiness, mobility, magic, willpower, appearance; int maxHp; };
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
        auto r = [](double v) { return std::round(v * 1e9) / 1e9; };
        const auto& k = h();
        EXPECT_EQ(std::tuple(r(k.Strenght), r(k.HardIness), r(k.Mobility), r(k.Magic), r(k.WillPower), r(k.Appearance), int(k.MaxHp)),
                  std::tuple(r(c.strength), r(c.hardiness), r(c.mobility), r(c.magic), r(c.willpower), r(c.appearance), c.maxHp))
            << c.person << " level " << c.level;
    }
    // No such person: the level only.
    h() = MainCharacter{};
    h().MaxHp = 10;
    ReachLevel(9, 1);
    EXPECT_EQ(h().MaxHp, 10);
}

TEST_F(LevelUp, SpellsAtTheirLevels) {
    auto& g = modVarsAndMain;
    auto known = [&] { return std::tuple(g.CurseKnown, g.NightKnown, g.HealingKnown, int(h().Science)); };
    ReachLevel(kWarlock, 2);
    EXPECT_EQ(known(), std::tuple(true, false, false, 0));
    ReachLevel(kWarlock, 4);
    EXPECT_EQ(known(), std::tuple(true, true, false, 0));
    std::tie(g.CurseKnown, g.NightKnown, h().Science) = std::tuple(false, false, 3);
    ReachLevel(kMonk, 10);
    EXPECT_EQ(known(), std::tuple(false, false, true, 5));
    ReachLevel(kMonk, 12);
    EXPECT_EQ(known(), std::tuple(true, false, true, 5));
}

TEST_F(LevelUp, SkillsGoToTheNextFreeRow) {
    modVarsAndMain.Skills[0][0] = Variant(L"Литература");
    modVarsAndMain.LastSkillIndex = 0;
    const std::tuple<long, int, const wchar_t*> grants[] = {
        {kHunter, 3, L"Знание трав"},       {kHunter, 6, L"Подстерегать"},         {kPrince, 10, L"Умение убеждать"},
        {kWarlock, 14, L"Воскрешать мёртвых"}, {kMonk, 7, L"Освятить вещь"},       {kClaw, 7, L"Отравленный зуб"},
        {kClaw, 12, L"Алхимия"}};
    int row = 0;
    for (auto [person, level, name] : grants) {
        ReachLevel(person, level);
        ++row;
        EXPECT_EQ(std::tuple(Skill(row), int(modVarsAndMain.LastSkillIndex)), std::tuple(name, row));
    }
    // A full table learns nothing more.
    modVarsAndMain.LastSkillIndex = 20;
    modVarsAndMain.Skills[20][0] = Variant(L"Последний");
    ReachLevel(kHunter, 3);
    EXPECT_EQ(std::tuple(Skill(20), int(modVarsAndMain.LastSkillIndex)), std::tuple(L"Последний", 20));
}

TEST_F(LevelUp, CharacterSheet) {
    auto& c = h();
    c.PlayerName = L"Ратибор";
    c.Profession = kPrince;
    std::tie(c.Doom, c.Level, c.Exp, c.HP, c.MaxHp, c.Mana, c.HeroeWeight, c.Weight, c.MaxWeight, c.HeroeTactic, c.Weapon, c.Defence) =
        std::tuple(-12, 3, 5, 14, 20, 7.8, 72.5, 12.25, 31.9, 1, 6, 2.5);
    std::tie(c.Mobility, c.Constitution, c.Strenght, c.HardIness, c.Alertness, c.Learning, c.WillPower, c.Science, c.Magic, c.Appearance) =
        std::tuple(9.7, 4, 8.9, 3.2, 6, 5, 4.4, 3, 1.5, 7.7);
    c.Show_Char();
    EXPECT_EQ(std::tuple(ui.textCaption, ui.log.size()), std::tuple(L"Характеристики", 1u));
    auto sheet = ReadBytes(fs::path(MORVATH_TEST_DATA) / "character_sheet.txt");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(ui.log[0], L"ShowText|modal|" + FromUtf8(ToCrlf(*sheet)));
}

TEST_F(LevelUp, OnlyThePrinceAndTheWarlockNameTheirPersonAndAnUnknownTacticHasNoLine) {
    for (auto [person, line] : {std::pair(kWarlock, L"Чернокнижник"), {kMonk, L""}, {kClaw, L""}, {kHunter, L""}}) {
        ui.log.clear();
        std::tie(h().Profession, h().HeroeTactic) = std::tuple(person, 7);
        h().Show_Char();
        const std::wstring sheet = ui.log.at(0);
        EXPECT_EQ(std::tuple(sheet.find(L" - Характеристики\r\n" + std::wstring(line) + L"\r\n\r\n") != std::wstring::npos,
                             sheet.find(L"Поведение")), std::tuple(true, std::wstring::npos)) << person;
    }
}
