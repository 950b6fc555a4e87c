#include "world/maze.h"
#include "test_support.h"

using namespace morvath;

TEST(Maze, SizesRoundUpToOddAndBordersStayOpen) {
    SeedRandom(1);
    CMaze largest;
    largest.DrawMaze(5000, 1200);
    EXPECT_EQ(largest.SizeXValue(), 1001);
    EXPECT_EQ(largest.SizeYValue(), 1001);
    for (int size : {70, 71}) {
        CMaze m;
        m.DrawMaze(static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
        EXPECT_EQ(m.SizeXValue(), 71);
        EXPECT_EQ(m.SizeYValue(), 71);
        for (int row = 0; row <= 71; ++row) {
            std::wstring s = m.GetMazeString(static_cast<std::int16_t>(row));
            ASSERT_EQ(s.size(), 72u);
            EXPECT_EQ(s[0], L'G');
            EXPECT_EQ(s[70], L'G');
            EXPECT_EQ(s[71], L'G');
            for (int col = 0; col <= 71 && row % 2 == 0; col += 2) EXPECT_EQ(s[static_cast<std::size_t>(col)], L'G') << row << "," << col;
        }
        EXPECT_EQ(m.GetMazeString(0), std::wstring(72, L'G'));
        EXPECT_EQ(m.GetMazeString(70), std::wstring(72, L'G'));
        EXPECT_EQ(m.GetMazeString(1)[1], L'a');
        EXPECT_FALSE(m.GetMaze(1, 1));
        EXPECT_TRUE(m.GetMaze(0, 0));
    }
}

TEST(Maze, EveryOddCellIsReachedAndPassagesFormATree) {
    SeedRandom(99);
    CMaze m;
    m.DrawMaze(21, 15);
    int cells = 0, passages = 0;
    for (int y = 0; y <= m.SizeYValue(); ++y) {
        std::wstring row = m.GetMazeString(static_cast<std::int16_t>(y));
        for (int x = 0; x <= m.SizeXValue(); ++x) {
            bool carved = row[static_cast<std::size_t>(x)] == L'a';
            bool odd = x % 2 == 1 && y % 2 == 1;
            if (odd && x <= m.SizeXValue() - 2 && y <= m.SizeYValue() - 2) {
                EXPECT_TRUE(carved) << x << "," << y;
                ++cells;
            } else if (carved) {
                ++passages;
            }
        }
    }
    // A spanning tree over n cells has exactly n - 1 passages between them.
    EXPECT_EQ(passages, cells - 1);
}

TEST(Maze, TinyMazesMarkOnlyTheStart) {
    for (int size : {1, 2}) {
        CMaze m;
        m.DrawMaze(static_cast<std::int16_t>(size), static_cast<std::int16_t>(size));
        int marked = 0;
        for (int y = 0; y <= m.SizeYValue(); ++y) {
            for (wchar_t c : m.GetMazeString(static_cast<std::int16_t>(y))) marked += c == L'a';
        }
        EXPECT_EQ(marked, 1);
        EXPECT_FALSE(m.GetMaze(1, 1));
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
    modVarsAndMain.PlayerX = 31;
    modVarsAndMain.PlayerY = 17;
    modVarsAndMain.NPCs->Add();
    w().Generate_Plains();
    EXPECT_EQ(modVarsAndMain.NPCs->Count(), 0);
    EXPECT_EQ(w().LocCount, 3);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(w().Record(i).Target.ToText(), L"wild");
        EXPECT_EQ(w().Record(i).TargetX.ToNumber(), 31);
        EXPECT_EQ(w().Record(i).TargetY.ToNumber(), 17);
    }
    EXPECT_EQ(modVarsAndMain.PlayerX, 20);
    EXPECT_EQ(modVarsAndMain.PlayerY, 20);
    EXPECT_EQ(w().MapType, kMapForest);
}

TEST_F(Generators, ForestNeverBlocksTheHerosCell) {
    for (int run = 0; run < 20; ++run) {
        w().MapType = kMapTown;
        w().Generate_Forest();
        EXPECT_EQ(w().MapType, kMapForest);
        EXPECT_EQ(w().GetPosMap(23, 23), L"G");
        EXPECT_EQ(w().GetPosMap(22, 23), L"G");
        EXPECT_EQ(w().GetPosMap(24, 23), L"G");
    }
    int trees = 0;
    for (int row = 7; row <= 34; ++row) {
        for (wchar_t c : w().Row(row)) trees += c == L'Њ';
    }
    EXPECT_GT(trees, 12 * 28);  // the border alone is 12 per row; the forest adds more
}

TEST_F(Generators, CaveStairsSitOnRowSixWithTheirOwnRecords) {
    modVarsAndMain.Player->Level = 1;
    for (int run = 0; run < 10; ++run) {
        w().InfLevel = 3;
        w().Generate_Cave_World();
        EXPECT_EQ(w().WorldName, L"AG");
        EXPECT_EQ(w().MapType, kMapCave);
        for (int row = 0; row <= 76; ++row) {
            const auto& r = w().Row(row);
            for (std::size_t col = 0; col < r.size(); ++col) {
                if (r[col] != L'q' && r[col] != L'#') continue;
                EXPECT_EQ(row, 6);
                bool found = false;
                for (int i = 0; i <= w().LocCount; ++i) {
                    const auto& rec = w().Record(i);
                    if (rec.X.ToNumber() + 3 == static_cast<double>(col + 1) && rec.Y.ToNumber() + 3 == 6) {
                        found = true;
                        EXPECT_EQ(rec.Target.ToText(), r[col] == L'q' ? L"AG" : L"N1");
                    }
                }
                EXPECT_TRUE(found) << col;
            }
        }
        EXPECT_LE(w().LocCount, 29);
        // The hero arrives on the open row 51 between columns 13 and 32.
        EXPECT_EQ(modVarsAndMain.PlayerY, 48);
        EXPECT_GE(modVarsAndMain.PlayerX + 3, 13);
        EXPECT_LE(modVarsAndMain.PlayerX + 3, 32);
        // Open but for the monsters that stand on it.
        std::wstring row51 = std::wstring(6, L'a') + std::wstring(72, L'G') + std::wstring(6, L'a');
        for (const auto& npc : *modVarsAndMain.NPCs) {
            if (npc->Y + 3 == 51) row51[static_cast<std::size_t>(npc->X + 2)] = npc->Symbol[0];
        }
        EXPECT_EQ(w().Row(51), row51);
        EXPECT_EQ(modVarsAndMain.QuestFlags[28], 3);
    }
}

TEST_F(Generators, CaveMonstersFollowDepthAndTheHerosStanding) {
    modVarsAndMain.Player->Level = 1;
    modVarsAndMain.Player->Doom = 0;
    w().InfLevel = 0;
    int spiders = 0;
    for (int run = 0; run < 10; ++run) {
        w().Generate_Cave_World();
        for (const auto& n : *modVarsAndMain.NPCs) {
            EXPECT_NE(n->NPCName, L"Тварь");
            // The two dog-heads: 6 to 11 hit points with a hand weapon, 10 to 19 with a sword.
            const bool sword = n->Weapon == L"М";
            if (n->NPCName == L"Псиглавец") {
                EXPECT_TRUE(n->HP >= (sword ? 10 : 6) && n->HP < (sword ? 20 : 11)) << n->HP;
            }
            if (n->NPCName == L"Паук") {
                ++spiders;
                EXPECT_EQ(n->Strenght, 0);
                EXPECT_EQ(n->DieScript_File, L"spider.die");
            }
            EXPECT_GE(n->X, 6);
            EXPECT_LE(n->X, 55);
            EXPECT_EQ(n->Tactic, kTacticApproach);
        }
    }
    EXPECT_GT(spiders, 0);
    modVarsAndMain.Player->Level = 5;
    int beasts = 0;
    for (int run = 0; run < 10; ++run) {
        w().Generate_Cave_World();
        for (const auto& n : *modVarsAndMain.NPCs) beasts += n->NPCName == L"Тварь";
    }
    EXPECT_GT(beasts, 0);
}

TEST_F(Generators, TheRingOfRevivalCanBePickedUpFromItsMark) {
    modVarsAndMain.QuestFlags[29] = -45;
    w().InfLevel = 5;
    w().Generate_Cave_World();
    ASSERT_EQ(w().mapItemCol->Count(), 1);
    auto ring = w().mapItemCol->Item(1);
    EXPECT_EQ(ring->ItemName, L"Кольцо возрождения");
    EXPECT_EQ(ring->ItemType, kArtifact);
    // Its position is a whole number and its heap mark is on that very cell.
    EXPECT_EQ(ring->X, Int(ring->X));
    EXPECT_EQ(ring->Y, Int(ring->Y));
    EXPECT_EQ(w().GetPosMap(ring->X + 3, ring->Y + 3), L"9");
}
