#include <algorithm>
#include <cstdlib>

#include "platform/cp1251.h"
#include "world/maze.h"
#include "test_support.h"

using namespace morvath;

namespace {

std::wstring Rows(const CMaze& m) {
    std::wstring s;
    for (int y = 0; y <= m.SizeYValue(); ++y) s += m.GetMazeString(static_cast<std::int16_t>(y)) + L"\n";
    return s;
}

// Compares with a golden file under tests/data, or writes it when asked to.
void Golden(const std::string& name, const std::wstring& text) {
    const fs::path golden = fs::path(MORVATH_TEST_DATA) / "generators" / name;
    if (std::getenv("MORVATH_WRITE_GOLDEN")) WriteFileAtomic(golden, ToUtf8(text));
    else EXPECT_EQ(ToUtf8(text), ReadBytes(golden).value_or("<missing>")) << name;
}

struct Generators : GameTest {
    Generators() : GameTest(2024) {}
};

}  // namespace

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
    Golden("maze21x15.txt", Rows(m));
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
    Golden("forest.txt", forest);
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
        Golden(c.golden, out);
    }
}
