// The dungeon generator: carved maps for fixed seeds against small golden files, the
// staircase and exit records, reachability, the files written, and the monsters placed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/cp1251.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "script/cscript.h"
#include "test_support.h"
#include "world/dungeon.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

std::string Rows(const DungeonGrid& grid) {
    std::string out;
    for (const auto& row : grid) {
        for (wchar_t c : row) out += static_cast<char>(c);
        out += '\n';
    }
    return out;
}

int Count(const DungeonGrid& grid, wchar_t c) {
    int n = 0;
    for (const auto& row : grid) {
        for (wchar_t x : row) n += x == c;
    }
    return n;
}

// Can the hero walk from one cell to the other (rock is the only thing that stops him)?
bool Reaches(const DungeonGrid& grid, int fromX, int fromY, int toX, int toY) {
    std::vector<bool> seen(kDungeonSize * kDungeonSize);
    std::vector<std::pair<int, int>> todo{{fromX, fromY}};
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        if (x < 0 || y < 0 || x >= kDungeonSize || y >= kDungeonSize || grid[y][x] == L'a' || seen[y * kDungeonSize + x])
            continue;
        if (x == toX && y == toY) return true;
        seen[y * kDungeonSize + x] = true;
        todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    return false;
}

struct Dungeons : ::testing::Test {
    TempGameFolder folder;
    void SetUp() override {
        ResetGame();
        modVarsAndMain.CreateRoots();
        fs::create_directories(folder.path() / "maps");
    }
    // The newest version of a file of the save folder, as the game reads it.
    std::string Saved(const std::string& name) {
        const auto dot = name.find('.');
        return ReadBytes(World::SavedFile(FromUtf8(name.substr(0, dot)), FromUtf8(name.substr(dot)))).value_or("<missing>");
    }
    void Template(const std::string& name, const std::string& text) {
        WriteFileAtomic(folder.path() / "maps" / name, EncodeCp1251(FromUtf8(text)));
    }
    std::vector<std::vector<std::wstring>> Records(const std::string& name, int fields) {
        std::vector<std::vector<std::wstring>> out;
        TextReader r(Saved(name));
        std::wstring item;
        while (!r.AtEnd()) {
            out.emplace_back();
            for (int i = 0; i < fields && r.ReadItem(item); ++i) out.back().push_back(item);
        }
        return out;
    }
};

}  // namespace

TEST(DungeonCarving, FixedSeedsGiveTheirGoldenMaps) {
    struct Case {
        std::uint64_t seed;
        int startX, startY;
        const char* file;
    };
    const Case cases[] = {
        {11, 20, 20, "seed11_20_20.txt"},
        {42, 10, 40, "seed42_10_40.txt"},
        {189, 28, 25, "seed189_28_25.txt"},
        {6, 40, 25, "seed6_40_25.txt"},
    };
    for (const Case& c : cases) {
        SeedRandom(c.seed);
        const DungeonLayout d = CarveDungeon(c.startX, c.startY);
        const fs::path golden = fs::path(MORVATH_TEST_DATA) / "dungeons" / c.file;
        if (std::getenv("MORVATH_WRITE_GOLDEN")) WriteFileAtomic(golden, Rows(d.grid));
        EXPECT_EQ(Rows(d.grid), ReadBytes(golden).value_or("<missing>")) << c.file;
        EXPECT_EQ(d.StartX, c.startX - 2);
        EXPECT_EQ(d.StartY, c.startY - 2);
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
        for (int i = 0; i < kDungeonSize; ++i) {
            for (int edge : {55, 56}) {
                ASSERT_EQ(d.grid[edge][i], L'a') << seed;
                ASSERT_EQ(d.grid[i][edge], L'a') << seed;
            }
        }
        ASSERT_EQ(Count(d.grid, L'q'), 1) << seed;
        ASSERT_EQ(Count(d.grid, L'{'), 1) << seed;
        EXPECT_EQ(d.grid[sy + 1][sx], L'{');
        EXPECT_EQ(d.StartX + 2, sx);
        EXPECT_EQ(d.StartY + 3, sy + 1);  // the record names the staircase itself
        const int qx = d.ExitX + 2, qy = d.ExitY + 2;
        ASSERT_EQ(d.grid[qy][qx], L'q') << seed;
        EXPECT_EQ(d.grid[qy + 1][qx], L'G') << seed;  // the record's cell, below the door
        EXPECT_TRUE(Reaches(d.grid, sx, sy + 1, qx, qy + 1)) << seed;
    }
}

TEST(DungeonCarving, RandomIntNeverLoops) {
    struct Case {
        int lo, hi, min, max;
    };
    const Case cases[] = {{5, 3}, {0, 0}, {3, 3, 3, 3}, {1, 2, 1, 1}, {1, 4, 1, 3}, {1, 7, 1, 6}, {1, 10, 1, 9}};
    SeedRandom(9);
    for (const Case& c : cases) {
        int lo = 1000, hi = -1000;
        for (int i = 0; i < 400; ++i) {
            const int r = RandomInt(c.lo, c.hi);
            lo = std::min(lo, r);
            hi = std::max(hi, r);
        }
        EXPECT_EQ(lo, c.min) << c.lo << ".." << c.hi;
        EXPECT_EQ(hi, c.max) << c.lo << ".." << c.hi;
    }
}

TEST_F(Dungeons, TheScriptWritesAWholeLocation) {
    WriteFileAtomic(folder.saved("lair.lst"), "\"old\",1\r\n");
    WriteFileAtomic(folder.saved("lair.itm"), "\"old\"\r\n");
    SeedRandom(4);
    Cscript s;
    s.Script = L"gendungeon(\"20\";\"22\";\"lair\";\"wild\";\"37\";\"12\";\"N1\";\"64\";\"5\";\"false\";\"0\";\"0\";\"m.dat\";\"9\")\r\n";
    s.ScriptExecute();
    const std::string crd = Saved("lair.crd");
    EXPECT_EQ(crd.substr(0, crd.find("\r\n", 0)), " 18 ");
    TextReader r(crd);
    std::vector<std::wstring> v(10);
    for (auto& x : v) ASSERT_TRUE(r.ReadItem(x));
    EXPECT_EQ(v, (std::vector<std::wstring>{L"18", L"20", L"wild", L"37", L"12", v[5], v[6], L"N1", L"64", L"5"}));
    // The exit record's cell lies below the map's one door.
    std::vector<std::string> rows;
    std::istringstream map(Saved("lair.map"));
    for (std::string line; std::getline(map, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 57u);
    for (auto& row : rows) {
        ASSERT_EQ(row.size(), 58u);  // 57 cells and the CR
    }
    const int ex = static_cast<int>(Val(v[5])), ey = static_cast<int>(Val(v[6]));
    EXPECT_EQ(rows[ey + 2][ex + 2], 'q');
    EXPECT_EQ(rows[22 + 1][20], '{');
    EXPECT_EQ(Saved("lair.tle"), "4\r\n#This is a TileSet type file.Do not remove this Line!\r\n");
    // Made again without monsters: nothing of an older dungeon of that name stays.
    EXPECT_EQ(Saved("lair.lst"), "");
    EXPECT_EQ(Saved("lair.itm"), "");
}

TEST_F(Dungeons, MonstersComeFromEveryWholeTemplateRecord) {
    Template("two.dat",
             "\"Орк\",\"temp.tai\",3,10,\"М\",\"orc.die\",#FALSE#,1,\"®\"\r\n"
             "\"Призрак\",\"ghost.tai\",1,4,\"К\",\"\",#TRUE#,0,\"t\"\r\n"
             "\"Обрывок\",\"x.tai\",1\r\n");
    Template("one.dat", "\"Орк\",\"temp.tai\",3,10,\"М\",\"orc.die\",#FALSE#,1,\"®\"\r\n");
    std::string many;
    for (int i = 0; i < 40; ++i) many += "\"M" + std::to_string(i) + "\",\"\",1,1,\"К\",\"\",#FALSE#,1,\"t\"\r\n";
    Template("many.dat", many);
    struct Case {
        const char* file;
        int max;
        std::size_t expected;  // records written
    };
    const Case cases[] = {{"two.dat", 5, 5}, {"one.dat", 3, 3}, {"one.dat", 0, 1}, {"one.dat", 1, 1}, {"none.dat", 5, 0}};
    for (const Case& c : cases) {
        SeedRandom(8);
        DungeonSpec spec;
        spec.StartX = 20;
        spec.StartY = 20;
        spec.DungeonName = L"d";
        spec.Populate = true;
        spec.MonsterHPBonus = 2;
        spec.MonsterStrengthBonus = -1;
        spec.MaxMonsters = c.max;
        spec.MonsterTemplate = FromUtf8(c.file);
        ASSERT_TRUE(GenerateDungeon(spec)) << c.file;
        const auto list = Records("d.lst", 12);
        ASSERT_EQ(list.size(), c.expected) << c.file << " " << c.max;
        // The first floor cells in scan order, from the top of the map.
        std::istringstream map(Saved("d.map"));
        std::vector<std::pair<int, int>> floor;
        int y = 0;
        for (std::string line; std::getline(map, line); ++y) {
            for (int x = 0; x < 57; ++x) {
                if (line[x] == 'G') floor.emplace_back(x - 2, y - 3);
            }
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            const auto& m = list[i];
            EXPECT_EQ(Val(m[5]), floor[i].first);
            EXPECT_EQ(Val(m[6]), floor[i].second);
            if (m[0] == L"Орк") {
                EXPECT_EQ(m, (std::vector<std::wstring>{L"Орк", L"12", L"®", L"1", L"М", m[5], m[6], L"2", L"temp.tai",
                                                        L"orc.die", L"", L"#FALSE#"}));
            } else {
                EXPECT_EQ(m[0], L"Призрак");
                EXPECT_EQ(m[1], L"6");
                EXPECT_EQ(m[11], L"#TRUE#");
            }
        }
    }
    // At most 31 records are read.
    DungeonSpec spec;
    spec.StartX = 25;
    spec.StartY = 25;
    spec.DungeonName = L"d";
    spec.Populate = true;
    spec.MaxMonsters = 400;
    spec.MonsterTemplate = L"many.dat";
    SeedRandom(2);
    ASSERT_TRUE(GenerateDungeon(spec));
    for (const auto& m : Records("d.lst", 12)) EXPECT_LT(Val(m[0].substr(1)), 31) << ToUtf8(m[0]);
}

TEST_F(Dungeons, BadArgumentsWriteNothing) {
    Template("one.dat", "\"Орк\",\"temp.tai\",3,10,\"М\",\"orc.die\",#FALSE#,1,\"®\"\r\n");
    struct Case {
        const char* start;
        const char* name;
        const char* populate;
        const char* monsterTemplate;
        bool written, monsters;
    };
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
        Cscript s;
        s.Script = FromUtf8(std::string("gendungeon(") + c.start + ";\"" + c.name + "\";\"A1\";\"1\";\"1\";\"A1\";\"1\";\"1\";\"" +
                            c.populate + "\";\"0\";\"0\";\"" + c.monsterTemplate + "\";\"3\")\r\n");
        s.ScriptExecute();
        const bool written = !fs::is_empty(folder.path() / "saved");
        EXPECT_EQ(written, c.written) << c.start << " " << c.name << " " << c.populate;
        if (written) EXPECT_EQ(Saved("d.lst").empty(), !c.monsters) << c.populate;
    }
}
