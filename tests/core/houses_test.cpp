#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "script/cscript.h"
#include "test_support.h"

#include <vector>
#include "world/houses.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

struct Houses : GameTest {
    Houses() {
        fs::create_directories(folder.path() / "intros");
        for (int n = 1; n <= 6; ++n) {
            WriteFileAtomic(folder.path() / "intros" / ("h" + std::to_string(n) + ".map"),
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

// Plan 1 to 6; talk scripts 1 to 4 (a 0 is a 1); a man of 2 to 10 hit points and strength 2
// to 4, a woman of 2 to 4 and 2. Plans past the third are empty, and written empty: nobody from
// an older house of that name stays.
TEST_F(Houses, ResidentsFollowTheirTemplate) {
    const fs::path golden = fs::path(MORVATH_TEST_DATA) / "houses";
    const std::pair<std::vector<double>, const char*> cases[] = {
        {{0, 0.5, 0.9999, 0.9999, 0, 0}, "h1-high.lst"}, {{2.0001 / 6, 0, 0, 0, 0.9999, 0.9999, 0.5, 0.5}, "h3-low.lst"},
        {{0.5, 0.9999}, "empty.lst"}};
    for (const auto& [draws, lst] : cases) {
        PinnedDraws pinned(draws);
        HouseSpec spec;
        spec.HouseName = L"h";
        spec.ExitTarget = L"vira";
        ASSERT_TRUE(CreateHouse(spec));
        EXPECT_EQ(Saved("h.lst"), ReadBytes(golden / lst).value_or("missing")) << lst;
    }
}

TEST_F(Houses, UnsafeNamesAndMissingTemplatesWriteNothing) {
    HouseSpec spec;
    spec.HouseName = L"..\\..\\evil";
    spec.ExitTarget = L"A1";
    EXPECT_FALSE(CreateHouse(spec));
    for (int n = 1; n <= 6; ++n) RemoveFile(folder.path() / "intros" / ("h" + std::to_string(n) + ".map"));
    spec.HouseName = L"izba";
    EXPECT_FALSE(CreateHouse(spec));
    EXPECT_TRUE(fs::is_empty(folder.path() / "saved"));
}
