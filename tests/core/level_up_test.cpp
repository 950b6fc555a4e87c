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
