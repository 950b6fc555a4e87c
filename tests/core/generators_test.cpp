#include <algorithm>

#include "world/maze.h"
#include "test_support.h"

using namespace morvath;

namespace {

std::wstring Rows(const CMaze& m) {
    std::wstring s;
    for (int y = 0; y <= m.SizeYValue(); ++y) s += m.GetMazeString(static_cast<std::int16_t>(y)) + L"\n";
    return s;
}

}  // namespace

// Sizes round up to odd and are capped; the border and every even cell stay walls, every odd
// cell inside is carved, and the passages between cells form a tree (n cells, n - 1 passages).
TEST(Maze, SizesRoundUpToOddAndPassagesFormATree) {
    SeedRandom(1);
    CMaze largest;
    largest.DrawMaze(5000, 1200);
    EXPECT_EQ(std::pair(largest.SizeXValue(), largest.SizeYValue()), std::pair(1001, 1001));
    struct Case {
        int x, y, sizeX, sizeY;
    };
    for (const Case c : {Case{70, 70, 71, 71}, Case{71, 71, 71, 71}, Case{21, 15, 21, 15}}) {
        SeedRandom(99);
        CMaze m;
        m.DrawMaze(static_cast<std::int16_t>(c.x), static_cast<std::int16_t>(c.y));
        ASSERT_EQ(std::pair(m.SizeXValue(), m.SizeYValue()), std::pair(c.sizeX, c.sizeY));
        int cells = 0, passages = 0, badWalls = 0, badCells = 0;
        for (int y = 0; y <= c.sizeY; ++y) {
            const std::wstring row = m.GetMazeString(static_cast<std::int16_t>(y));
            ASSERT_EQ(row.size(), static_cast<std::size_t>(c.sizeX + 1));
            for (int x = 0; x <= c.sizeX; ++x) {
                const bool carved = row[static_cast<std::size_t>(x)] == L'a';
                const bool border = x == 0 || y == 0 || x >= c.sizeX - 1 || y >= c.sizeY - 1;
                if (x % 2 == 1 && y % 2 == 1 && !border) {
                    badCells += !carved;
                    ++cells;
                } else {
                    badWalls += carved && (border || (x % 2 == 0 && y % 2 == 0));
                    passages += carved;
                }
            }
        }
        EXPECT_EQ(std::tuple(badCells, badWalls, passages, m.GetMaze(1, 1), m.GetMaze(0, 0)), std::tuple(0, 0, cells - 1, false, true)) << c.x;
    }
}

TEST(Maze, TinyMazesMarkOnlyTheStart) {
    for (int size : {1, 2}) {
        CMaze m;
        m.DrawMaze(static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
        const std::wstring rows = Rows(m);
        EXPECT_EQ(std::tuple(std::count(rows.begin(), rows.end(), L'a'), m.GetMaze(1, 1)), std::tuple(1, false)) << size;
    }
    CMaze m;
    std::int16_t x = 1, y = 1;
    m.DrawMaze(5, 5);
    EXPECT_FALSE(m.MakeMaze(x, y));
}

namespace {

struct Generators : GameTest {
    Generators() : GameTest(2024) {}
};

}  // namespace

TEST_F(Generators, PlainExitsLeadBackToWhereTheHeroCameFrom) {
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(31, 17);
    g().NPCs->Add();
    w().Generate_Plains();
    EXPECT_EQ(std::tuple(g().NPCs->Count(), int(w().LocCount), int(g().PlayerX), int(g().PlayerY), int(w().MapType)),
              std::tuple(0L, 3, 20, 20, int(kMapForest)));
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(std::tuple(w().Record(i).Target.ToText(), w().Record(i).TargetX.ToNumber(), w().Record(i).TargetY.ToNumber()),
                  std::tuple(L"wild", 31.0, 17.0));
    }
}

TEST_F(Generators, ForestNeverBlocksTheHerosCell) {
    for (int run = 0; run < 20; ++run) {
        w().MapType = kMapTown;
        w().Generate_Forest();
        EXPECT_EQ(std::tuple(int(w().MapType), w().GetPosMap(22, 23) + w().GetPosMap(23, 23) + w().GetPosMap(24, 23)),
                  std::tuple(int(kMapForest), L"GGG"));
    }
    int trees = 0;
    for (int row = 7; row <= 34; ++row) {
        for (wchar_t c : w().Row(row)) trees += c == L'Њ';
    }
    EXPECT_GT(trees, 12 * 28);  // the border alone is 12 per row; the forest adds more
}

// Stairs sit on row six, each with its own record; the hero arrives on the open row 51 between
// columns 13 and 32, open but for the monsters that stand on it.
TEST_F(Generators, CaveStairsSitOnRowSixWithTheirOwnRecords) {
    h().Level = 1;
    for (int run = 0; run < 10; ++run) {
        w().InfLevel = 3;
        w().Generate_Cave_World();
        EXPECT_EQ(std::tuple(w().WorldName, int(w().MapType), int(g().PlayerY), int(g().QuestFlags[28])), std::tuple(L"AG", int(kMapCave), 48, 3));
        EXPECT_LE(w().LocCount, 29);
        EXPECT_TRUE(g().PlayerX + 3 >= 13 && g().PlayerX + 3 <= 32) << g().PlayerX;
        for (int row = 0; row <= 76; ++row) {
            const auto& r = w().Row(row);
            for (std::size_t col = 0; col < r.size(); ++col) {
                if (r[col] != L'q' && r[col] != L'#') continue;
                std::wstring target = L"none";
                for (int i = 0; i <= w().LocCount; ++i) {
                    const auto& rec = w().Record(i);
                    if (rec.X.ToNumber() + 3 == static_cast<double>(col + 1) && rec.Y.ToNumber() + 3 == 6) target = rec.Target.ToText();
                }
                EXPECT_EQ(std::tuple(row, target), std::tuple(6, r[col] == L'q' ? L"AG" : L"N1")) << col;
            }
        }
        std::wstring row51 = std::wstring(6, L'a') + std::wstring(72, L'G') + std::wstring(6, L'a');
        for (const auto& npc : *g().NPCs) {
            if (npc->Y + 3 == 51) row51[static_cast<std::size_t>(npc->X + 2)] = npc->Symbol[0];
        }
        EXPECT_EQ(w().Row(51), row51);
    }
}

// Beasts only from the fifth level; dog-heads of 6 to 11 hit points with a hand weapon, 10 to
// 19 with a sword; spiders without strength that die by their script; all approach.
TEST_F(Generators, CaveMonstersFollowDepthAndTheHerosStanding) {
    std::tie(h().Level, h().Doom, w().InfLevel) = std::tuple(1, 0.0, 0);
    int spiders = 0, beasts = 0;
    for (int run = 0; run < 20; ++run) {
        if (run == 10) h().Level = 5;
        w().Generate_Cave_World();
        for (const auto& n : *g().NPCs) {
            beasts += n->NPCName == L"Тварь";
            EXPECT_FALSE(run < 10 && n->NPCName == L"Тварь");
            const bool sword = n->Weapon == L"М";
            EXPECT_TRUE(n->NPCName != L"Псиглавец" || (n->HP >= (sword ? 10 : 6) && n->HP < (sword ? 20 : 11))) << n->HP;
            if (n->NPCName == L"Паук") {
                spiders += run < 10;
                EXPECT_EQ(std::tuple(int(n->Strenght), n->DieScript_File), std::tuple(0, L"spider.die"));
            }
            EXPECT_TRUE(n->X >= 6 && n->X <= 55 && n->Tactic == kTacticApproach) << n->X;
        }
    }
    EXPECT_GT(spiders, 0);
    EXPECT_GT(beasts, 0);
}

// Its position is a whole number and its heap mark is on that very cell.
TEST_F(Generators, TheRingOfRevivalCanBePickedUpFromItsMark) {
    g().QuestFlags[29] = -45;
    w().InfLevel = 5;
    w().Generate_Cave_World();
    ASSERT_EQ(w().mapItemCol->Count(), 1);
    auto ring = w().mapItemCol->Item(1);
    EXPECT_EQ(std::tuple(ring->ItemName, int(ring->ItemType), ring->X - Int(ring->X), ring->Y - Int(ring->Y), w().GetPosMap(ring->X + 3, ring->Y + 3)),
              std::tuple(L"Кольцо возрождения", int(kArtifact), 0.0, 0.0, L"9"));
}
