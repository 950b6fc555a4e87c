// The dungeon generator: carved maps for fixed seeds against small golden files, the
// staircase and exit records, the files written, and the monsters placed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/cp1251.h"
#include "script/cscript.h"
#include "test_support.h"
#include "world/dungeon.h"

using namespace morvath;

namespace {

std::string Rows(const DungeonGrid& grid, const char* end = "\n") {
    std::string out;
    for (const auto& row : grid) out += std::string(row.begin(), row.end()) + end;
    return out;
}

struct Dungeons : GameTest {
    Dungeons() { fs::create_directories(folder.path() / "maps"); }
    std::string Saved(const std::string& stem, const wchar_t* ext) {
        return ReadBytes(World::SavedFile(FromUtf8(stem), ext)).value_or("<missing>");
    }
    void Template(const std::string& name, const std::string& text) {
        WriteFileAtomic(folder.path() / "maps" / name, EncodeCp1251(FromUtf8(text)));
    }
    void GenDungeon(const std::string& args) {
        Cscript s;
        s.Script = FromUtf8("gendungeon(" + args + ")\r\n");
        s.ScriptExecute();
    }
};

}  // namespace

TEST(DungeonCarving, FixedSeedsGiveTheirGoldenMaps) {
    struct Case { std::uint64_t seed; int x, y; };
    for (const Case& c : {Case{11, 20, 20}, {42, 10, 40}, {189, 28, 25}, {6, 40, 25}}) {
        SeedRandom(c.seed);
        const std::string name = std::to_string(c.seed) + "_" + std::to_string(c.x) + "_" + std::to_string(c.y);
        const fs::path golden = fs::path(MORVATH_TEST_DATA) / "dungeons" / ("seed" + name + ".txt");
        if (std::getenv("MORVATH_WRITE_GOLDEN")) WriteFileAtomic(golden, Rows(CarveDungeon(c.x, c.y).grid));
        else EXPECT_EQ(Rows(CarveDungeon(c.x, c.y).grid), ReadBytes(golden).value_or("<missing>")) << name;
    }
}

// Whatever the seed and the start: the two last rows and columns rock, one staircase and one
// exit door with floor below it, each where its record says.
TEST(DungeonCarving, EveryDungeonHasOneStaircaseAndOneExit) {
    for (std::uint64_t seed = 0; seed < 100; ++seed) {
        SeedRandom(seed);
        const int sx = 5 + static_cast<int>(seed * 7 % 45), sy = 5 + static_cast<int>(seed * 13 % 45);
        const DungeonLayout d = CarveDungeon(sx, sy);
        std::string rows = Rows(d.grid), edge = rows.substr(55 * 58);
        for (int i = 0; i < kDungeonSize; ++i) edge += rows.substr(i * 58 + 55, 2);
        EXPECT_EQ(std::tuple(edge.find_first_not_of("a\n"), std::count(rows.begin(), rows.end(), 'q'), std::count(rows.begin(), rows.end(), '{'),
                             d.grid[sy + 1][sx], d.StartX + 2 - sx, d.StartY + 2 - sy, d.grid[d.ExitY + 2][d.ExitX + 2], d.grid[d.ExitY + 3][d.ExitX + 2]),
                  std::tuple(std::string::npos, 1, 1, L'{', 0, 0, L'q', L'G')) << seed;
    }
}

TEST_F(Dungeons, TheScriptWritesAWholeLocation) {
    WriteFileAtomic(folder.saved("lair.lst"), "\"old\",1\r\n");
    WriteFileAtomic(folder.saved("lair.itm"), "\"old\"\r\n");
    SeedRandom(4);
    GenDungeon("\"20\";\"22\";\"lair\";\"wild\";\"37\";\"12\";\"N1\";\"64\";\"5\";\"false\";\"0\";\"0\";\"m.dat\";\"9\"");
    SeedRandom(4);
    // Made again without monsters: nothing of an older dungeon of that name stays.
    EXPECT_EQ(std::tuple(Saved("lair", L".crd"), Saved("lair", L".map"), Saved("lair", L".tle"), Saved("lair", L".lst") + Saved("lair", L".itm")),
              std::tuple(" 18 \r\n 20 \r\nwild\r\n 37 \r\n 12 \r\n 18 \r\n 16 \r\nN1\r\n 64 \r\n 5 \r\n", Rows(CarveDungeon(20, 22).grid, "\r\n"),
                         "4\r\n#This is a TileSet type file.Do not remove this Line!\r\n", ""));
}

// The first floor cells in scan order draw a monster each from the whole records of the
// template (at most 31 are read), with the bonuses added.
TEST_F(Dungeons, MonstersComeFromEveryWholeTemplateRecord) {
    const std::string orcLine = "\"Орк\",\"temp.tai\",3,10,\"М\",\"orc.die\",#FALSE#,1,\"®\"\r\n";
    Template("two.dat", orcLine + "\"Призрак\",\"ghost.tai\",1,4,\"К\",\"\",#TRUE#,0,\"t\"\r\n\"Обрывок\",\"x.tai\",1\r\n");
    Template("one.dat", orcLine);
    std::string many;
    for (int i = 0; i < 40; ++i) many += "\"M" + std::to_string(i) + "\",\"\",1,1,\"К\",\"\",#FALSE#,1,\"t\"\r\n";
    Template("many.dat", many);
    auto orc = [](const char* xy) { return "\"Орк\",12,\"®\",1,\"М\"," + std::string(xy) + ",2,\"temp.tai\",\"orc.die\",\"\",#FALSE#\r\n"; };
    auto ghost = [](const char* xy) { return "\"Призрак\",6,\"t\",0,\"К\"," + std::string(xy) + ",0,\"ghost.tai\",\"\",\"\",#TRUE#\r\n"; };
    struct Case { const char* file; int max; std::string list; };
    const Case cases[] = {{"two.dat", 3, orc("3,2") + ghost("18,2") + ghost("20,2")}, {"one.dat", 0, orc("3,2")}, {"none.dat", 5, ""}};
    for (const Case& c : cases) {
        SeedRandom(8);
        GenDungeon("\"20\";\"20\";\"d\";\"A1\";\"1\";\"1\";\"A1\";\"1\";\"1\";\"1\";\"2\";\"-1\";\"" + std::string(c.file) + "\";\"" + std::to_string(c.max) + "\"");
        EXPECT_EQ(ToUtf8(DecodeCp1251(Saved("d", L".lst"))), c.list) << c.file << " " << c.max;
    }
    SeedRandom(2);
    GenDungeon("\"25\";\"25\";\"d\";\"A1\";\"1\";\"1\";\"A1\";\"1\";\"1\";\"1\";\"0\";\"0\";\"many.dat\";\"400\"");
    const std::string list = Saved("d", L".lst");
    EXPECT_EQ(std::pair(list.find("M31"), list.find("M30") != std::string::npos), std::pair(std::string::npos, true));
}

TEST_F(Dungeons, BadArgumentsWriteNothing) {
    Template("one.dat", "\"Орк\",\"temp.tai\",3,10,\"М\",\"orc.die\",#FALSE#,1,\"®\"\r\n");
    // What is written: nothing, a dungeon, or a dungeon with monsters.
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"\"5\";\"49\"", "d", "True", "one.dat", "monsters"}, {"\"20\";\"20\"", "d", "-2", "one.dat", "monsters"},
        {"\"20\";\"20\"", "d", "yes", "one.dat", "dungeon"},  {"\"4\";\"20\"", "d", "1", "one.dat", "nothing"},
        {"\"20\";\"50\"", "d", "1", "one.dat", "nothing"},    {"\"20\";\"x\"", "d", "1", "one.dat", "nothing"},
        {"\"20\";\"20\"", "..\\\\d", "1", "one.dat", "nothing"}, {"\"20\";\"20\"", "d", "1", "../maps/one.dat", "nothing"}};
    for (const auto& [start, name, populate, monsters, expected] : cases) {
        fs::remove_all(folder.path() / "saved");
        fs::create_directories(folder.path() / "saved");
        GenDungeon(std::string(start) + ";\"" + name + "\";\"A1\";\"1\";\"1\";\"A1\";\"1\";\"1\";\"" + populate + "\";\"0\";\"0\";\"" + monsters + "\";\"3\"");
        const std::string got = fs::is_empty(folder.path() / "saved") ? "nothing" : Saved("d", L".lst").empty() ? "dungeon" : "monsters";
        EXPECT_EQ(got, expected) << start << " " << name << " " << populate;
    }
}
