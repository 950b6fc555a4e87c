// The dungeon generator: carved maps for fixed seeds against small golden files, the
// staircase and exit records, reachability, the files written, and the monsters placed.
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

// The cells the hero can walk to from one cell, marked (rock is the only thing that stops him).
std::string Walkable(DungeonGrid grid, int x, int y) {
    std::vector<std::pair<int, int>> todo{{x, y}};
    while (!todo.empty()) {
        auto [cx, cy] = todo.back();
        todo.pop_back();
        if (cx < 0 || cy < 0 || cx >= kDungeonSize || cy >= kDungeonSize || grid[cy][cx] == L'a' || grid[cy][cx] == L'*') continue;
        grid[cy][cx] = L'*';
        todo.insert(todo.end(), {{cx + 1, cy}, {cx - 1, cy}, {cx, cy + 1}, {cx, cy - 1}});
    }
    return Rows(grid);
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

// Whatever the seed and the start: 57 x 57, the two last rows and columns rock, one
// staircase where the record says, one exit door with floor below it that the hero can
// walk to from the staircase.
TEST(DungeonCarving, EveryDungeonHasOneStaircaseAndOneReachableExit) {
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        SeedRandom(seed);
        const int sx = 5 + static_cast<int>(seed * 7 % 45), sy = 5 + static_cast<int>(seed * 13 % 45);
        const DungeonLayout d = CarveDungeon(sx, sy);
        const std::string rows = Rows(d.grid);
        ASSERT_EQ(rows.substr(55 * 58), std::string(57, 'a') + "\n" + std::string(57, 'a') + "\n") << seed;
        for (int i = 0; i < kDungeonSize; ++i) ASSERT_EQ(rows.substr(i * 58 + 55, 2), "aa") << seed;
        ASSERT_EQ(std::count(rows.begin(), rows.end(), 'q'), 1) << seed;
        ASSERT_EQ(std::count(rows.begin(), rows.end(), '{'), 1) << seed;
        EXPECT_EQ(d.grid[d.StartY + 3][d.StartX + 2], L'{');
        EXPECT_EQ(d.StartX + 2, sx);
        EXPECT_EQ(d.StartY + 2, sy);
        const int qx = d.ExitX + 2, qy = d.ExitY + 2;
        ASSERT_EQ(d.grid[qy][qx], L'q') << seed;
        EXPECT_EQ(d.grid[qy + 1][qx], L'G') << seed;  // the record's cell, below the door
        EXPECT_EQ(Walkable(d.grid, sx, sy + 1), Walkable(d.grid, qx, qy + 1)) << seed;
    }
}

// The lowest and the highest whole number a draw gives, and no loop when the range is empty.
TEST(DungeonCarving, RandomIntStaysInItsRange) {
    struct Case { int lo, hi, min, max; };
    const Case cases[] = {{5, 3}, {0, 0}, {3, 3, 3, 3}, {1, 2, 1, 1}, {1, 4, 1, 3}, {1, 7, 1, 6}, {1, 10, 1, 9}};
    for (const Case& c : cases) {
        PinnedDraws pins{0, 0.99999};
        EXPECT_EQ(RandomInt(c.lo, c.hi), c.min) << c.lo << ".." << c.hi;
        EXPECT_EQ(RandomInt(c.lo, c.hi), c.max) << c.lo << ".." << c.hi;
    }
}

TEST_F(Dungeons, TheScriptWritesAWholeLocation) {
    WriteFileAtomic(folder.saved("lair.lst"), "\"old\",1\r\n");
    WriteFileAtomic(folder.saved("lair.itm"), "\"old\"\r\n");
    SeedRandom(4);
    GenDungeon("\"20\";\"22\";\"lair\";\"wild\";\"37\";\"12\";\"N1\";\"64\";\"5\";\"false\";\"0\";\"0\";\"m.dat\";\"9\"");
    EXPECT_EQ(Saved("lair", L".crd"), " 18 \r\n 20 \r\nwild\r\n 37 \r\n 12 \r\n 18 \r\n 16 \r\nN1\r\n 64 \r\n 5 \r\n");
    SeedRandom(4);
    EXPECT_EQ(Saved("lair", L".map"), Rows(CarveDungeon(20, 22).grid, "\r\n"));
    EXPECT_EQ(Saved("lair", L".tle"), "4\r\n#This is a TileSet type file.Do not remove this Line!\r\n");
    // Made again without monsters: nothing of an older dungeon of that name stays.
    EXPECT_EQ(Saved("lair", L".lst") + Saved("lair", L".itm"), "");
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
    const std::string ghost = "\"Призрак\",6,\"t\",0,\"К\",";
    struct Case { const char* file; int max; std::string list; };
    const Case cases[] = {
        {"two.dat", 5, orc("3,2") + ghost + "18,2,0,\"ghost.tai\",\"\",\"\",#TRUE#\r\n" + ghost +
                           "20,2,0,\"ghost.tai\",\"\",\"\",#TRUE#\r\n" + orc("26,2") + orc("33,2")},
        {"one.dat", 3, orc("3,2") + orc("18,2") + orc("20,2")},
        {"one.dat", 0, orc("3,2")},
        {"one.dat", 1, orc("3,2")},
        {"none.dat", 5, ""},
    };
    for (const Case& c : cases) {
        SeedRandom(8);
        GenDungeon("\"20\";\"20\";\"d\";\"A1\";\"1\";\"1\";\"A1\";\"1\";\"1\";\"1\";\"2\";\"-1\";\"" + std::string(c.file) +
                   "\";\"" + std::to_string(c.max) + "\"");
        EXPECT_EQ(ToUtf8(DecodeCp1251(Saved("d", L".lst"))), c.list) << c.file << " " << c.max;
    }
    SeedRandom(2);
    GenDungeon("\"25\";\"25\";\"d\";\"A1\";\"1\";\"1\";\"A1\";\"1\";\"1\";\"1\";\"0\";\"0\";\"many.dat\";\"400\"");
    const std::string list = Saved("d", L".lst");
    EXPECT_EQ(list.find("M31"), std::string::npos);
    EXPECT_NE(list.find("M30"), std::string::npos);
}

TEST_F(Dungeons, BadArgumentsWriteNothing) {
    Template("one.dat", "\"Орк\",\"temp.tai\",3,10,\"М\",\"orc.die\",#FALSE#,1,\"®\"\r\n");
    struct Case { const char *start, *name, *populate, *monsterTemplate; bool written, monsters; };
    const Case cases[] = {
        {"\"5\";\"49\"", "d", "TRUE", "one.dat", true, true},
        {"\"20\";\"20\"", "d", "True", "one.dat", true, true},
        {"\"20\";\"20\"", "d", "-2", "one.dat", true, true},
        {"\"20\";\"20\"", "d", "false", "one.dat", true, false},
        {"\"20\";\"20\"", "d", "0", "one.dat", true, false},
        {"\"20\";\"20\"", "d", "yes", "one.dat", true, false},
        {"\"4\";\"20\"", "d", "1", "one.dat", false, false},
        {"\"20\";\"50\"", "d", "1", "one.dat", false, false},
        {"\"20\";\"x\"", "d", "1", "one.dat", false, false},  // no start at all
        {"\"20\";\"20\"", "..\\\\d", "1", "one.dat", false, false},
        {"\"20\";\"20\"", "con", "1", "one.dat", false, false},
        {"\"20\";\"20\"", "d", "1", "../maps/one.dat", false, false},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder.path() / "saved");
        fs::create_directories(folder.path() / "saved");
        ResetGame();
        modVarsAndMain.CreateRoots();
        GenDungeon(std::string(c.start) + ";\"" + c.name + "\";\"A1\";\"1\";\"1\";\"A1\";\"1\";\"1\";\"" + c.populate +
                   "\";\"0\";\"0\";\"" + c.monsterTemplate + "\";\"3\"");
        const bool written = !fs::is_empty(folder.path() / "saved");
        EXPECT_EQ(written, c.written) << c.start << " " << c.name << " " << c.populate;
        if (written) EXPECT_EQ(Saved("d", L".lst").empty(), !c.monsters) << c.populate;
    }
}
