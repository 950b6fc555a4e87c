// The place generators. The dungeon: carved maps for fixed seeds against small golden files,
// the staircase and exit records, the files written, and the monsters placed. The houses the
// script writes, the maze, the plains and forest, and the cave levels.
#include <algorithm>
#include <cstdlib>

#include "platform/textforms.h"
#include "script/cscript.h"
#include "test_support.h"
#include "world/dungeon.h"
#include "world/houses.h"
#include "world/maze.h"
#include "world/save_set.h"
#include "world/tiles.h"

using namespace morvath;

namespace {

std::string Rows(const DungeonGrid& grid, const char* end = "\n") {
    std::string out;
    for (const auto& row : grid) out += std::string(row.begin(), row.end()) + end;
    return out;
}

std::wstring Rows(const CMaze& m) {
    std::wstring s;
    for (int y = 0; y <= m.SizeYValue(); ++y) s += m.GetMazeString(static_cast<std::int16_t>(y)) + L"\n";
    return s;
}

// Compares with a golden file under tests/data, or writes it when asked to.
void Golden(const fs::path& golden, const std::string& bytes) {
    if (std::getenv("MORVATH_WRITE_GOLDEN")) WriteFileAtomic(fs::path(MORVATH_TEST_DATA) / golden, bytes);
    else EXPECT_EQ(bytes, ReadBytes(fs::path(MORVATH_TEST_DATA) / golden).value_or("<missing>")) << golden;
}

std::vector<std::wstring> Lines(const DungeonGrid& grid) {
    std::vector<std::wstring> rows;
    for (const auto& row : grid) rows.emplace_back(row.begin(), row.end());
    return rows;
}

struct Dungeons : GameTest {
    Dungeons() { fs::create_directories(folder.path() / "maps"); }
    std::string Saved(const std::string& stem, const wchar_t* ext) {
        return ReadBytes(World::SavedFile(FromUtf8(stem), ext)).value_or("<missing>");
    }
    void Template(const std::string& name, const std::string& text) {
        WriteFileAtomic(folder.path() / "maps" / name, EncodeCp1251(FromUtf8(text)));
    }
    void Run(const std::wstring& script) {
        Cscript s;
        s.Script = script;
        s.ScriptExecute();
    }
    void GenDungeon(const std::string& args) { Run(FromUtf8("gendungeon(" + args + ")\r\n")); }
};

struct Houses : Dungeons {
    Houses() {
        for (int n = 1; n <= 6; ++n) {
            WriteFileAtomic(folder.path() / "intros" / ("h" + std::to_string(n) + ".map"),
                            "aaaaaaa\r\n\"  a,G  \"\r\n  GGG  \r\nrow" + std::to_string(n) + "\r\n");
        }
    }
    std::string Saved(const std::string& name) { return ReadBytes(SaveFolder().Current(FromUtf8(name))).value_or("<missing>"); }
};

struct Generators : GameTest {
    Generators() : GameTest(2024) {}
};

// Where the hero, by the arrow keys' rules, walks from cell (x, y) of `rows` (column from 0,
// row): the up key enters only its own tiles, the hero never goes below coordinate 1 at the
// left (column 3) or the top (row 4), and no way goes over a staircase, which leads out.
struct Walk {
    const std::vector<std::wstring>& rows;
    std::vector<char> seen = std::vector<char>(rows.size() * 128);
    std::vector<std::pair<int, int>> todo;

    Walk(const std::vector<std::wstring>& r, int x, int y) : rows(r) {
        Seen(x, y) = 1;
        todo.emplace_back(x, y);
        while (!todo.empty()) {
            auto [cx, cy] = todo.back();
            todo.pop_back();
            Step(cx, cy - 1, kHeroStepsUp), Step(cx, cy + 1, kHeroSteps), Step(cx - 1, cy, kHeroSteps), Step(cx + 1, cy, kHeroSteps);
        }
    }
    void Step(int x, int y, unsigned way) {
        if (x < 3 || y < 4 || !(Ways(x, y) & way) || Seen(x, y)) return;
        Seen(x, y) = 1;
        if (rows[y][x] != L'{') todo.emplace_back(x, y);
    }
    char& Seen(int x, int y) { return seen[static_cast<std::size_t>(y * 128 + x)]; }
    unsigned Ways(int x, int y) const {
        static const std::vector<unsigned> table = [] {
            std::vector<unsigned> t(0x10000);
            for (const TileRule& rule : kTileRules) t[rule.tile] = rule.ways;
            return t;
        }();
        return y < static_cast<int>(rows.size()) && x < static_cast<int>(rows[y].size()) ? table[rows[y][x] & 0xFFFF] : 0;
    }
    // He stands on the record's cell, or steps up through the door on it.
    bool Reaches(int x, int y) { return Seen(x, y) || ((Ways(x, y) & kDoorUp) && Seen(x, y + 1)); }
};

}  // namespace

TEST(DungeonCarving, FixedSeedsGiveTheirGoldenMaps) {
    struct Case { std::uint64_t seed; int x, y; };
    for (const Case& c : {Case{11, 20, 20}, {42, 10, 40}, {189, 28, 25}, {6, 40, 25}}) {
        SeedRandom(c.seed);
        Golden(fs::path("dungeons") / ("seed" + std::to_string(c.seed) + "_" + std::to_string(c.x) + "_" + std::to_string(c.y) + ".txt"),
               Rows(CarveDungeon(c.x, c.y).grid));
    }
}

// A room beside (20, 20), 2 wide and 3 long by the pinned draws, on the side its direction
// points to; 12 deep, its corridors start nothing.
TEST(DungeonCarving, RoomsLieOnTheSideTheyOpenTo) {
    struct Case { int dir; int x1, y1, x2, y2; };
    for (const Case& c : {Case{1, 17, 21, 20, 24}, {2, 17, 20, 19, 24}, {3, 16, 17, 20, 19}, {4, 21, 20, 22, 23}, {0, 0, 0, -1, -1}}) {
        DungeonGrid grid;
        for (auto& row : grid) row.fill(L'a');
        DungeonGrid room = grid;
        for (int y = c.y1; y <= c.y2; ++y) std::fill(&room[y][c.x1], &room[y][c.x2] + 1, L'G');
        PinnedDraws draws{0.4, 0.9};
        CarveRoom(grid, 20, 20, c.dir, 12);
        EXPECT_EQ(Rows(grid), Rows(room)) << c.dir;
    }
}

// The lair's start with every draw pinned: the first room (26..28, 46..47) and three straight
// corridors of 11 (left along row 46 from 29, up column 28 from 45, right along row 46 from
// 25). The stair at (28, 46) cuts row 46 east of it off. Walkable in scan order: column 28
// from row 35, then (27, 43), (28, 43), (27, 44), (28, 44), (27, 45); (28, 45) never draws,
// its floor below being the staircase; then row 46 from 19 to 27, (26, 47), (27, 47). The
// door of the draw 0.15 has floor on both upper corners, but never over the staircase; with
// no draw of a 2 or 3 it stands on the last floor cell in scan order, (28, 47), where the hero
// comes in.
TEST(DungeonCarving, TheExitDoorNeverStandsOverTheStaircase) {
    struct Case { int passes; double exitDraw; int exitX, exitY; };
    for (const Case& c : {Case{13, 0.15, 17, 44}, {23, 0.15, 25, 45}, {13, 0, 26, 45}}) {
        std::vector<double> draws(8 + c.passes, 0.0);
        draws.resize(draws.size() + 200, c.exitDraw);
        PinnedDraws pinned(draws);
        const DungeonLayout d = CarveDungeon(28, 45);
        const std::vector<std::wstring> rows = Lines(d.grid);
        EXPECT_EQ(std::tuple(d.ExitX, d.ExitY, rows[46][28], Walk(rows, 28, 47).Reaches(d.ExitX + 2, d.ExitY + 3)),
                  std::tuple(c.exitX, c.exitY, L'{', true)) << c.passes;
    }
}

// The lair as the story makes it (the first room at (28, 45), the hero coming in below the
// staircase at (26, 44)): over a thousand seeds the way out is walkable, its door is the one
// exit door, and the staircase and the rock of the last two rows and columns are where they
// belong.
TEST(DungeonCarving, EveryLairCanBeWalkedThrough) {
    for (std::uint64_t seed = 0; seed < 1000; ++seed) {
        SeedRandom(seed);
        const DungeonLayout d = CarveDungeon(28, 45);
        const std::vector<std::wstring> rows = Lines(d.grid);
        std::wstring edge = rows[55] + rows[56];
        int doors = 0, stairs = 0;
        for (const auto& row : rows) {
            edge += row.substr(55);
            for (wchar_t c : row) doors += c == L'q', stairs += c == L'{';
        }
        ASSERT_EQ(std::tuple(Walk(rows, 28, 47).Reaches(d.ExitX + 2, d.ExitY + 3), rows[d.ExitY + 2][d.ExitX + 2], doors, stairs, rows[46][28],
                             d.StartX, d.StartY, edge.find_first_not_of(L'a')),
                  std::tuple(true, L'q', 1, 1, L'{', 26, 43, std::wstring::npos)) << seed;
    }
}

// Every level of the endless cave, over a thousand seeds (in four parts, run side by side):
// from where the hero arrives, each way out is walkable. A beast counts as floor: it is
// fought, and its square is floor after.
struct CaveLevels : ::testing::TestWithParam<std::uint64_t> {};
INSTANTIATE_TEST_SUITE_P(Seeds, CaveLevels, ::testing::Values(0, 250, 500, 750));

TEST_P(CaveLevels, EveryLevelCanBeWalkedOutOf) {
    TempGameFolder folder;
    ResetGame();
    modVarsAndMain.CreateRoots();
    World& w = *modVarsAndMain.TheWorld;
    for (std::uint64_t seed = GetParam(); seed < GetParam() + 250; ++seed) {
        SeedRandom(seed);
        w.InfLevel = 1;
        w.Generate_Cave_World();
        std::vector<std::wstring> rows;
        for (int row = 0; row <= World::kMaxRow; ++row) rows.push_back(w.Row(row));
        for (const auto& n : *modVarsAndMain.NPCs) rows[static_cast<std::size_t>(n->Y + 3)][static_cast<std::size_t>(n->X + 2)] = L'G';
        Walk walk(rows, modVarsAndMain.PlayerX + 2, modVarsAndMain.PlayerY + 3);
        for (int i = 1; i <= w.LocCount; ++i) {
            const LocationRecord& r = w.Record(i);
            if (!r.Target.ToText().empty()) {
                ASSERT_TRUE(walk.Reaches(static_cast<int>(r.X.ToNumber()) + 2, static_cast<int>(r.Y.ToNumber()) + 3)) << seed << " " << i;
            }
        }
    }
    ResetGame();
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
    // Another run starts from nothing: no ways, no monsters of the run before.
    SeedRandom(4);
    GenDungeon("\"20\";\"22\";\"cave\"");
    EXPECT_EQ(Saved("cave", L".crd") + Saved("cave", L".lst"), " 18 \r\n 20 \r\n\r\n 0 \r\n 0 \r\n 18 \r\n 16 \r\n\r\n 0 \r\n 0 \r\n");
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

// The copy goes item by item: quotes and the blanks around items are dropped. A position
// that is not a number keeps what the run's last genhouse gave; a new run starts from nothing.
TEST_F(Houses, TheScriptCommandWritesAWholeHouse) {
    SeedRandom(5);
    for (const wchar_t* text : {L"genhouse(\"izba1\";\"A1\";\"12\";\"30\")\r\ngenhouse(\"izba2\";\"N1\";\"x\";\"5x\")\r\n", L"genhouse(\"izba3\";\"A1\")\r\n"})
        Run(text);
    EXPECT_EQ(std::tuple(Saved("izba1.map").substr(0, 21), Saved("izba1.crd"), Saved("izba1.tle"), Saved("izba1.itm"), Saved("izba1.lst") != "<missing>"),
              std::tuple("aaaaaaa\r\n  a,G  \r\nGGG", "7\r\n11\r\nA1\r\n 12 \r\n 30 \r\n", "2\r\n#This is a TileSet type file.Do not remove this Line!\r\n", "", true));
    EXPECT_EQ(std::tuple(Saved("izba2.crd").substr(7), Saved("izba3.crd").substr(7), ui.Count(L"MsgBox|")), std::tuple("N1\r\n 12 \r\n 30 \r\n", "A1\r\n 0 \r\n 0 \r\n", 1));
}

// Plan 1 to 6; talk scripts 1 to 4 (a 0 is a 1); a man of 2 to 10 hit points and strength 2
// to 4, a woman of 2 to 4 and 2. Plans past the third are empty, and written empty: nobody from
// an older house of that name stays.
TEST_F(Houses, ResidentsFollowTheirTemplate) {
    const std::pair<std::vector<double>, const char*> cases[] = {
        {{0, 0.5, 0.9999, 0.9999, 0, 0}, "h1-high.lst"}, {{2.0001 / 6, 0, 0, 0, 0.9999, 0.9999, 0.5, 0.5}, "h3-low.lst"},
        {{1.0001 / 6, 0.9999, 0.5, 0.5, 0.5, 0.5}, "h2-mid.lst"}, {{0.5, 0.9999}, "empty.lst"}};
    for (const auto& [draws, lst] : cases) {
        PinnedDraws pinned(draws);
        ASSERT_TRUE(CreateHouse(HouseSpec{Integer(0), Integer(0), L"h", L"vira"}));
        Golden(fs::path("houses") / lst, Saved("h.lst"));
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

// Sizes round up to odd and are capped; a maze below three cells marks only its start.
TEST(Maze, SizesRoundUpToOddAndCarveTheirGoldenPassages) {
    struct Case { int x, y, sizeX, sizeY; long carved; };
    for (const Case c : {Case{5000, 1200, 1001, 1001, -1}, {70, 70, 71, 71, -1}, {0, 0, 1, 1, 1}, {2, 2, 3, 3, 1}}) {
        CMaze m;
        m.DrawMaze(static_cast<std::int16_t>(c.x), static_cast<std::int16_t>(c.y));
        const std::wstring rows = c.carved < 0 ? L"" : Rows(m);
        EXPECT_EQ(std::tuple(m.SizeXValue(), m.SizeYValue(), c.carved < 0 ? -1 : std::count(rows.begin(), rows.end(), L'a'), m.GetMaze(1, 1)),
                  std::tuple(c.sizeX, c.sizeY, c.carved, false)) << c.x;
    }
    SeedRandom(99);
    CMaze m;
    m.DrawMaze(20, 15);
    Golden("generators/maze21x15.txt", ToUtf8(Rows(m)));
    std::int16_t x = 1, y = 1;
    EXPECT_FALSE(m.MakeMaze(x, y));
}

// Plains and forest: an empty ground with its exits back to the wilderness, the hero on (20, 20)
// and, in the forest (one against its golden file), never a tree on the hero's cell or beside it.
TEST_F(Generators, PlainsAndForestsAreGroundsForTheHero) {
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(31, 17);
    g().NPCs->Add();
    w().Generate_Plains();
    EXPECT_EQ(std::tuple(g().NPCs->Count(), int(w().LocCount), int(g().PlayerX), int(g().PlayerY), int(w().MapType), w().Record(2).TargetX.ToNumber()),
              std::tuple(0L, 3, 20, 20, int(kMapForest), 31.0));
    for (int run = 0; run < 10; ++run) {
        w().MapType = kMapTown;
        w().Generate_Forest();
        EXPECT_EQ(std::tuple(int(w().MapType), w().GetPosMap(22, 23) + w().GetPosMap(23, 23) + w().GetPosMap(24, 23)), std::tuple(int(kMapForest), L"GGG"));
    }
    std::wstring forest;
    for (int row = 0; row <= 40; ++row) forest += w().Row(row) + L"\n";
    Golden("generators/forest.txt", ToUtf8(forest));
}

// A cave level whole: the rows, the stairs' records, the monsters, where the hero arrives, and
// the ring of revival on its heap mark at its depth. Beasts come only from the fifth level.
TEST_F(Generators, CaveLevelsGiveTheirGoldenLayouts) {
    struct Case { int level, depth, revival; const char* golden; };
    for (const Case c : {Case{1, 3, 0, "level1-depth3.txt"}, {5, 5, -45, "level5-depth5.txt"}}) {
        SeedRandom(7);
        std::tie(h().Level, h().Doom, w().InfLevel, g().QuestFlags[29]) = std::tuple(c.level, 0.0, c.depth, c.revival);
        w().Generate_Cave_World();
        std::wstring out = w().WorldName + L" " + NumText(w().MapType) + L" hero " + NumText(g().PlayerX) + L"," + NumText(g().PlayerY) +
                           L" deepest " + NumText(g().QuestFlags[28]) + L"\n";
        for (int row = 0; row <= 76; ++row) out += w().Row(row) + L"\n";
        for (int i = 0; i <= w().LocCount; ++i) {
            const auto& r = w().Record(i);
            out += r.X.ToText() + L"," + r.Y.ToText() + L"," + r.Target.ToText() + L"," + r.TargetX.ToText() + L"," + r.TargetY.ToText() + L"\n";
        }
        for (const auto& n : *g().NPCs) {
            out += n->NPCName + L"|" + n->Symbol + L"|" + n->Weapon + L"|" + NumText(n->X) + L"," + NumText(n->Y) + L"|" + NumText(n->HP) + L"|" +
                   NumText(n->Strenght) + L"|" + NumText(n->Tactic) + L"|" + n->AIScript_File + L"|" + n->DieScript_File + L"\n";
        }
        for (const auto& it : *w().mapItemCol) out += it->ItemName + L" " + NumText(it->ItemType) + L" " + NumText(it->X) + L"," + NumText(it->Y) + L"\n";
        Golden(fs::path("generators") / c.golden, ToUtf8(out));
    }
}
