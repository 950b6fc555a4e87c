#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/cp1251.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "script/cscript.h"
#include "test_support.h"
#include "world/dungeon.h"
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
    std::string Saved(const std::string& name) { return ReadBytes(SaveFolder().Current(FromUtf8(name))).value_or("<missing>"); }
};

}  // namespace

// The copy goes item by item: quotes and the blanks around items are dropped. A position
// that is not a number keeps what the run's last genhouse gave; a new run starts from nothing.
TEST_F(Houses, TheScriptCommandWritesAWholeHouse) {
    SeedRandom(5);
    for (const wchar_t* text : {L"genhouse(\"izba1\";\"A1\";\"12\";\"30\")\r\ngenhouse(\"izba2\";\"N1\";\"x\";\"5x\")\r\n", L"genhouse(\"izba3\";\"A1\")\r\n"}) {
        Cscript s;
        s.Script = text;
        s.ScriptExecute();
    }
    EXPECT_EQ(std::tuple(Saved("izba1.map").substr(0, 21), Saved("izba1.crd"), Saved("izba1.tle"), Saved("izba1.itm"), Saved("izba1.lst") != "<missing>"),
              std::tuple("aaaaaaa\r\n  a,G  \r\nGGG", "7\r\n11\r\nA1\r\n 12 \r\n 30 \r\n", "2\r\n#This is a TileSet type file.Do not remove this Line!\r\n", "", true));
    EXPECT_EQ(std::tuple(Saved("izba2.crd").substr(7), Saved("izba3.crd").substr(7), ui.Count(L"MsgBox|")), std::tuple("N1\r\n 12 \r\n 30 \r\n", "A1\r\n 0 \r\n 0 \r\n", 1));
}

// Plan 1 to 6; talk scripts 1 to 4 (a 0 is a 1); a man of 2 to 10 hit points and strength 2
// to 4, a woman of 2 to 4 and 2. Plans past the third are empty, and written empty: nobody from
// an older house of that name stays.
TEST_F(Houses, ResidentsFollowTheirTemplate) {
    const fs::path golden = fs::path(MORVATH_TEST_DATA) / "houses";
    const std::pair<std::vector<double>, const char*> cases[] = {
        {{0, 0.5, 0.9999, 0.9999, 0, 0}, "h1-high.lst"}, {{2.0001 / 6, 0, 0, 0, 0.9999, 0.9999, 0.5, 0.5}, "h3-low.lst"},
        {{1.0001 / 6, 0.9999, 0.5, 0.5, 0.5, 0.5}, "h2-mid.lst"}, {{0.5, 0.9999}, "empty.lst"}};
    for (const auto& [draws, lst] : cases) {
        PinnedDraws pinned(draws);
        ASSERT_TRUE(CreateHouse(HouseSpec{Integer(0), Integer(0), L"h", L"vira"}));
        if (std::getenv("MORVATH_WRITE_GOLDEN")) WriteFileAtomic(golden / lst, Saved("h.lst"));
        EXPECT_EQ(Saved("h.lst"), ReadBytes(golden / lst).value_or("missing")) << lst;
    }
}

// A house or a dungeon the disk refuses is told; unsafe names and missing templates write
// nothing at all, and need no word.
TEST_F(Houses, UnsafeNamesAndMissingTemplatesWriteNothing) {
    {
        DiskFaults full([](const DiskCall& c) { return c.step == DiskStep::Write; });
        DungeonSpec pit;
        std::tie(pit.StartX, pit.StartY, pit.DungeonName) = std::tuple(20, 20, L"pit");
        EXPECT_FALSE(CreateHouse(HouseSpec{Integer(0), Integer(0), L"izba", L"A1"}) || GenerateDungeon(pit));
    }
    const std::wstring notMade = L"MsgBox|Morvath|Не удалось записать новое место \"";
    EXPECT_EQ(ui.log, (std::vector<std::wstring>{notMade + L"izba\" в папку saved: его не будет.", notMade + L"pit\" в папку saved: его не будет."}));
    fs::remove_all(folder.path() / "saved" / ".pending");
    ui.log.clear();
    EXPECT_FALSE(CreateHouse(HouseSpec{Integer(0), Integer(0), L"..\\..\\evil", L"A1"}));
    for (int n = 1; n <= 6; ++n) RemoveFile(folder.path() / "intros" / ("h" + std::to_string(n) + ".map"));
    EXPECT_FALSE(CreateHouse(HouseSpec{Integer(0), Integer(0), L"izba", L"A1"}));
    EXPECT_TRUE(fs::is_empty(folder.path() / "saved") && ui.log.empty());
}
