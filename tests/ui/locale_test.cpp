// The game on a Russian desktop, whose locale writes numbers with a decimal comma: a save
// is the same bytes as anywhere else and loads back whole, and scripts compute as anywhere.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/cp1251.h"  // before the script fixture, which needs it
#include "../core/script_test_support.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

struct RussianDesktop : ScriptFixture {
    std::string before;

    void SetUp() override {
        ScriptFixture::SetUp();
        fs::create_directories(dir.path() / "saved");
        before = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) {
            // On the CI machine the locale is part of the install: missing, it is a failure.
            const char* ci = std::getenv("CI");
            if (ci && *ci) {
                FAIL() << "the locale ru_RU.UTF-8 is missing: scripts/install-deps.sh generates it";
            }
            std::fprintf(stderr, "\n*** WARNING: no ru_RU.UTF-8 locale: scripts/install-deps.sh makes it\n\n");
            GTEST_SKIP() << "no ru_RU.UTF-8 locale";
        }
        // The locale must really write a decimal comma, or this test proves nothing.
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override {
        std::setlocale(LC_ALL, before.c_str());
        ScriptFixture::TearDown();
    }

    // The hero's values with fractions, exact in binary or not.
    static constexpr std::pair<double MainCharacter::*, double> kFractions[] = {
        {&MainCharacter::Strenght, 4.75},   {&MainCharacter::WillPower, 8.2},       {&MainCharacter::Mobility, 5.5},
        {&MainCharacter::Magic, 1.5},       {&MainCharacter::Appearance, 3.5},      {&MainCharacter::Doom, -1.25},
        {&MainCharacter::Mana, 7.5},        {&MainCharacter::MaxWeight, 30.5},      {&MainCharacter::BeginMaxWeight, 15.25},
        {&MainCharacter::HeroeWeight, 72.5}, {&MainCharacter::HardIness, 2.30000000000001}};

    static void FillGame() {
        auto& g = modVarsAndMain;
        auto& c = *g.Player;
        c.PlayerName = L"Ёрш";
        for (auto [field, value] : kFractions) c.*field = value;
        g.Money = 70000;
        g.Skills[0][0] = Variant(L"Литература");
        g.Skills[0][1] = 2.25;
        g.Equip[kSlotRightHand] = {Variant(L"Меч"), 1, Variant(L""), 0, Variant(L""), 5, 0, 2.5, 1.5, Variant(L"")};
        auto a = g.Inventory->Add();
        a->ItemName = L"Щит";
        a->Weight = 4.25;
        a->X = 20.5f;
        a->Y = 0.1f;
        auto& w = *g.TheWorld;
        w.WorldName = L"AG";
        w.MapType = 4;
        for (int r = 0; r <= 70; ++r) w.SetRow(r, L"aaGGGGGGGG9Gaa");
        w.LocCount = -1;
        auto n = g.NPCs->Add();
        n->NPCName = L"Паук";
        n->Symbol = L"©";
        n->X = 8.5f;
        n->Y = 6;
    }
    static MainCharacter& Player() { return *modVarsAndMain.Player; }
    // Every fraction the game holds, and its money.
    static std::vector<double> Numbers() {
        const auto& g = modVarsAndMain;
        const auto& sword = g.Equip[kSlotRightHand];
        const auto& shield = *g.Inventory->Item(1);
        std::vector<double> v = {double(g.Money), g.Skills[0][1].ToNumber(), sword[kEqWeight].ToNumber(),
                                 sword[kEqCritical].ToNumber(), shield.Weight, shield.X, shield.Y, g.NPCs->Item(1)->X};
        for (auto [field, value] : kFractions) v.push_back(Player().*field);
        return v;
    }
    std::map<std::string, std::string> SavedFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(dir.path() / "saved")) {
            files[e.path().filename().string()] = ReadBytes(e.path()).value_or("");
        }
        return files;
    }
};

}  // namespace

TEST_F(RussianDesktop, ASaveIsTheSameBytesAndLoadsBackWhole) {
    // The same game saved under the plain C locale and under the Russian one.
    std::setlocale(LC_ALL, "C");
    FillGame();
    ASSERT_TRUE(SaveGame());
    const auto plain = SavedFiles();
    RemoveFilesIn(dir.path() / "saved");
    std::setlocale(LC_ALL, "ru_RU.UTF-8");
    ASSERT_TRUE(SaveGame());
    EXPECT_EQ(SavedFiles(), plain);
    EXPECT_NE(SavedFiles()["char.ch"].find(" 4.75 \r\n"), std::string::npos);

    const std::vector<double> numbers = Numbers();
    ResetGame();
    modVarsAndMain.CreateRoots();
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(Player().PlayerName, L"Ёрш");
    ASSERT_EQ(modVarsAndMain.Inventory->Count(), 1);
    ASSERT_EQ(modVarsAndMain.NPCs->Count(), 1);
    EXPECT_EQ(Numbers(), numbers);
}

TEST_F(RussianDesktop, ScriptsComputeAsAnywhere) {
    Player().Doom = 2.5;
    EXPECT_EQ(RunAndSee(L"var x\nx = \"2.5\" + \"0.25\"\ninput(x)\nx ~ star(\"1.5\";\"3\")\ninput(x)\n"
                        L"x ~ getvar(\"doom\")\ninput(x)\nx ~ lcase(\"ЁЖИК Ёж\")\ninput(x)\n"
                        L"if \"2.5\" > \"2.25\"\ninput(\"больше\")\nend"),
              (std::vector<std::wstring>{L"2.75", L"4.5", L" 2.5", L"ёжик ёж", L"больше"}));
    Run(L"setvar(\"strenght\";\"7.25\")\nplusvar(\"mana\";\"0.5\")\n"
        L"give(\"Нож\";\"1\";\"0\";\"\";\"\";\"1\";\"0\";\"0.75\";\"2.5\";\"\")");
    EXPECT_EQ(Player().Strenght, 7.25);
    EXPECT_EQ(Player().Mana, 0.5);
    EXPECT_EQ(modVarsAndMain.Inventory->Item(1)->Weight, 0.75);
    EXPECT_EQ(modVarsAndMain.Inventory->Item(1)->Critical, 2);
}
