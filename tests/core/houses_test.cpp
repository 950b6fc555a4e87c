#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "script/cscript.h"
#include "test_support.h"
#include "world/game_state.h"
#include "world/houses.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

struct Houses : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SetGameFolder(dir.path());
        fs::create_directories(dir.path() / "intros");
        fs::create_directories(dir.path() / "saved");
        for (int n = 1; n <= 6; ++n) {
            WriteFileAtomic(dir.path() / "intros" / ("h" + std::to_string(n) + ".map"),
                            "aaaaaaa\r\n\"  a,G  \"\r\n  GGG  \r\nrow" + std::to_string(n) + "\r\n");
        }
    }
    std::string Saved(const std::string& name) {
        return ReadBytes(SaveFolder().Current(FromUtf8(name))).value_or("<missing>");
    }
};

}  // namespace

TEST_F(Houses, TheScriptCommandWritesAWholeHouse) {
    SeedRandom(5);
    Cscript s;
    s.Script = L"genhouse(\"izba1\";\"A1\";\"12\";\"30\")\r\n";
    s.ScriptExecute();
    EXPECT_EQ(modVarsAndMain.HouseParams.HouseName, L"izba1");
    EXPECT_EQ(modVarsAndMain.HouseParams.ExitY, 30);
    std::string map = Saved("izba1.map");
    ASSERT_NE(map, "<missing>");
    // The copy goes item by item: quotes and the blanks around items are dropped.
    EXPECT_EQ(map.substr(0, 21), "aaaaaaa\r\n  a,G  \r\nGGG");
    EXPECT_EQ(Saved("izba1.crd"), "7\r\n11\r\nA1\r\n 12 \r\n 30 \r\n");
    EXPECT_EQ(Saved("izba1.tle"), "2\r\n#This is a TileSet type file.Do not remove this Line!\r\n");
    EXPECT_EQ(Saved("izba1.itm"), "");
    EXPECT_NE(Saved("izba1.lst"), "<missing>");
}

TEST_F(Houses, ResidentsFollowTheirTemplate) {
    int withResidents = 0, empty = 0;
    for (std::uint64_t seed = 0; seed < 60; ++seed) {
        SeedRandom(seed);
        HouseSpec spec;
        spec.HouseName = L"h";
        spec.ExitTarget = L"vira";
        ASSERT_TRUE(CreateHouse(spec));
        std::string map = Saved("h.map");
        int n = map[map.size() - 3] - '0';
        TextReader lst(Saved("h.lst"));
        if (n >= 4) {
            // An empty house is written empty: nobody from an older house of that name stays.
            EXPECT_TRUE(lst.AtEnd()) << n;
            ++empty;
            continue;
        }
        ++withResidents;
        for (int r = 0; r < 2; ++r) {
            std::wstring name, symbol, weapon, talk, die, speech;
            double hp = 0, tactic = 0, x = 0, y = 0, strength = 0;
            bool good = false;
            ASSERT_TRUE(lst.ReadText(name) && lst.ReadNumber(hp) && lst.ReadText(symbol) && lst.ReadNumber(tactic) &&
                        lst.ReadText(weapon) && lst.ReadNumber(x) && lst.ReadNumber(y) && lst.ReadNumber(strength) &&
                        lst.ReadText(talk) && lst.ReadText(die) && lst.ReadText(speech) && lst.ReadBool(good));
            EXPECT_TRUE(good);
            EXPECT_EQ(tactic, 0);
            EXPECT_EQ(weapon, L"К");
            bool man = talk.starts_with(L"man");
            EXPECT_TRUE(man || talk.starts_with(L"wom"));
            EXPECT_GE(talk[3], L'1');
            EXPECT_LE(talk[3], L'4');
            if (man) {
                EXPECT_GE(hp, 2);
                EXPECT_LE(hp, 10);
                EXPECT_GE(strength, 2);
                EXPECT_LE(strength, 4);
            } else {
                EXPECT_GE(hp, 2);
                EXPECT_LE(hp, 4);
                EXPECT_EQ(strength, 2);
            }
        }
        EXPECT_TRUE(lst.AtEnd());
    }
    EXPECT_GT(withResidents, 0);
    EXPECT_GT(empty, 0);
}

TEST_F(Houses, UnsafeNamesAndMissingTemplatesWriteNothing) {
    HouseSpec spec;
    spec.HouseName = L"..\\..\\evil";
    spec.ExitTarget = L"A1";
    EXPECT_FALSE(CreateHouse(spec));
    for (int n = 1; n <= 6; ++n) RemoveFile(dir.path() / "intros" / ("h" + std::to_string(n) + ".map"));
    spec.HouseName = L"izba";
    EXPECT_FALSE(CreateHouse(spec));
    EXPECT_TRUE(fs::is_empty(dir.path() / "saved"));
}
