#include <cmath>
#include <vector>

#include "platform/cp1251.h"
#include "test_support.h"

using namespace morvath;

namespace {

struct Characters : GameTest {
    Characters() : GameTest(11) {}

    // Rows in hero coordinates: character x of row y is the tile at (x, y), that is grid
    // column x + 3 of grid row y + 3. Everything around them is rock.
    void Grid(const std::vector<const wchar_t*>& rows) {
        for (int r = 0; r <= 20; ++r) w().SetRow(r, std::wstring(20, L'a'));
        int y = 0;
        for (const wchar_t* row : rows) w().SetRow(y++ + 3, L"aa" + std::wstring(row) + L"aaaa");
    }
    std::wstring At(double x, double y) { return w().GetPosMap(x + 3, y + 3); }

    std::shared_ptr<NPC> Put(double x, double y, int tactic) {
        auto n = modVarsAndMain.NPCs->Add();
        n->NPCName = L"Волк";
        n->Symbol = L"W";
        n->X = static_cast<float>(x);
        n->Y = static_cast<float>(y);
        n->Tactic = tactic;
        w().setPosMap2(y + 3, x + 3, n->Symbol);
        return n;
    }
    void Hero(int x, int y) {
        modVarsAndMain.PlayerX = x;
        modVarsAndMain.PlayerY = y;
    }
    // One move: at most one square each way, and the symbol stands where the character
    // now stands. True when it moved.
    bool MoveOnce(NPC& n) {
        const float x = n.X, y = n.Y;
        n.Do_Move(1);
        EXPECT_LE(std::fabs(n.X - x), 1);
        EXPECT_LE(std::fabs(n.Y - y), 1);
        EXPECT_EQ(At(n.X, n.Y), L"W");
        return n.X != x || n.Y != y;
    }
    void Script(const std::string& name, const std::wstring& text) {
        ASSERT_TRUE(WriteFileAtomic(folder.path() / "scripts" / name, ToCrlf(EncodeCp1251(text))));
    }
};

}  // namespace

TEST_F(Characters, ApproachingAndFleeingStepsAndTheirDetours) {
    struct Case {
        std::vector<const wchar_t*> grid;
        int heroX, heroY, tactic;
        float x, y;  // where it goes from (2, 2)
    };
    const std::vector<const wchar_t*> open(6, L"GGGGGG");
    const Case cases[] = {
        {open, 5, 5, kTacticApproach, 3, 3},  // straight when it can
        {{L"GGGGGG", L"GGGGGG", L"GGGGGG", L"GGGaGG", L"GGGGGG", L"GGGGGG"}, 5, 5, kTacticApproach, 3, 2},  // sideways first
        {{L"GGGGGG", L"GGGGGG", L"GGGaGG", L"GG9aGG", L"GGGGGG", L"GGGGGG"}, 5, 5, kTacticApproach, 2, 3},  // onto the heap
        {open, 3, 3, kTacticApproach, 2, 2},  // never onto the hero
        {open, 0, 0, kTacticFlee, 3, 3},
        {open, 2, 0, kTacticFlee, 2, 3},  // straight above it: straight down
    };
    for (const Case& c : cases) {
        Grid(c.grid);
        modVarsAndMain.NPCs->Clear();
        Hero(c.heroX, c.heroY);
        auto n = Put(2, 2, c.tactic);
        n->Do_Move(1);
        EXPECT_EQ(n->X, c.x) << c.heroX << " " << c.tactic;
        EXPECT_EQ(n->Y, c.y) << c.heroX << " " << c.tactic;
        EXPECT_EQ(At(c.x, c.y), L"W");
        if (c.x != 2 || c.y != 2) {
            EXPECT_EQ(At(2, 2), L"G");
        }
    }
}

TEST_F(Characters, ACharacterBoxedInStaysAndKeepsItsSquare) {
    Grid({L"aaaaa", L"aaaaa", L"aaGaa", L"aaaaa", L"aaaaa", L"GGGGG"});
    Hero(4, 5);
    auto n = Put(2, 2, kTacticApproach);
    for (int i = 0; i < 30; ++i) {
        n->Do_Move(1);
        ASSERT_EQ(n->X, 2);
        ASSERT_EQ(n->Y, 2);
        ASSERT_EQ(At(2, 2), L"W");
    }
}

TEST_F(Characters, ABlockedCharacterTakesOnlyPassableRandomSteps) {
    // Walled off from the hero on every straight and sideways probe, open behind.
    Grid({L"GGGaa", L"GGGaa", L"GGGaa", L"aaaaa", L"aaaaa", L"aaaaa"});
    Hero(4, 5);
    auto n = Put(2, 2, kTacticApproach);
    int moved = 0;
    for (int i = 0; i < 60; ++i) {
        if (MoveOnce(*n)) ++moved;
        ASSERT_LE(n->X, 2);
        ASSERT_LE(n->Y, 2);
    }
    EXPECT_GT(moved, 0);
}

TEST_F(Characters, TheAdjacencyTestCoversTheEightSquaresAround) {
    Hero(5, 5);
    NPC n;
    int adjacent = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            n.X = static_cast<float>(5 + dx);
            n.Y = static_cast<float>(5 + dy);
            const bool expect = std::abs(dx) <= 1 && std::abs(dy) <= 1 && (dx != 0 || dy != 0);
            EXPECT_EQ(n.AdjacentToHero(), expect) << dx << "," << dy;
            adjacent += n.AdjacentToHero();
        }
    }
    EXPECT_EQ(adjacent, 8);
    n.X = 5.5f;
    n.Y = 5;
    EXPECT_FALSE(n.AdjacentToHero());
}

TEST_F(Characters, ARandomWalkerNeverLeavesTheFloorNorStepsOnTheHero) {
    Grid({L"GGGGG", L"GaGGG", L"GG9GG", L"GGGaG", L"GGGGG"});
    Hero(2, 1);
    auto n = Put(2, 2, kTacticRandomWalk);
    int moved = 0;
    for (int i = 0; i < 300; ++i) {
        const float x = n->X, y = n->Y;
        if (MoveOnce(*n)) {
            ++moved;
            ASSERT_EQ(At(x, y), L"G");
        }
        ASSERT_FALSE(n->X == 2 && n->Y == 1) << "stepped onto the hero";
    }
    EXPECT_GT(moved, 50);
}

TEST_F(Characters, AStayingCharacterDoesNotTouchTheGrid) {
    Grid({L"GGG", L"G9G", L"GGG"});
    Hero(0, 0);
    auto n = Put(1, 1, kTacticStay);
    w().setPosMap2(4, 4, L"9");
    n->Do_Move(1);
    EXPECT_EQ(n->X, 1);
    EXPECT_EQ(n->Y, 1);
    EXPECT_EQ(At(1, 1), L"9");
}

TEST_F(Characters, WeaponCodes) {
    NPC n;
    n.Weapon = L"A";  // Latin
    EXPECT_EQ(n.GetWeaponType(), 2);
    EXPECT_EQ(n.WeaponName, L"Топор");
    n.Weapon = L"А";  // Cyrillic look-alike
    EXPECT_EQ(n.GetWeaponType(), 1);
    EXPECT_EQ(n.WeaponName, L"Кулак");
    n.Weapon = L"З";
    EXPECT_EQ(n.GetWeaponType(), 20);
    EXPECT_EQ(n.WeaponName, L"Алмазный меч");
    n.Weapon = L"М";  // a sword of force 0 to 8
    PinnedDraws draws{0, 0.9999};
    EXPECT_EQ(n.GetWeaponType(), 0);
    EXPECT_EQ(n.GetWeaponType(), 8);
    EXPECT_EQ(n.WeaponName, L"Меч");
}

TEST_F(Characters, ALastSpeechIsSpokenInsteadOfTheTalkScript) {
    Script("guard.tai", L"should not run");
    auto n = Put(1, 1, kTacticStay);
    n->NPCName = L"Стражник";
    n->AIScript_File = L"guard.tai";
    n->Last_Speech = L"Проходи.";
    n->ExecTalkAIScript();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Стражник:Проходи.\r\n\r\n[пробел]");
    EXPECT_EQ(n->scriptText, L"");
}

TEST_F(Characters, ScriptsAreReadItemByItem) {
    Script("talk.tai", L"say(\"Привет\")\nfirst,second\n\"quoted, with comma\"\n");
    auto n = Put(1, 1, kTacticStay);
    n->AIScript_File = L"talk.tai";
    Hero(4, 4);
    n->ExecTalkAIScript();
    EXPECT_EQ(n->scriptText, L"say(\"Привет\")\r\nfirst\r\nsecond\r\nquoted, with comma\r\n");
    EXPECT_EQ(modVarsAndMain.PlayerX, 4);

    n->ExecScriptR(L"talk.tai");
    EXPECT_EQ(n->scriptText, L"say(\"Привет\")\r\nfirst\r\nsecond\r\nquoted, with comma\r\n");
}

TEST_F(Characters, AMissingOrOutsideScriptDoesNothing) {
    Script("x.tai", L"old");
    auto n = Put(1, 1, kTacticStay);
    n->ExecScriptR(L"x.tai");
    n->AIScript_File = L"missing.tai";
    n->ExecTalkAIScript();
    n->ExecScriptR(L"..\\scripts\\x.tai");
    n->DieScript_File = L"";
    n->Died();
    EXPECT_EQ(n->scriptText, L"old\r\n");
}

TEST_F(Characters, DyingFreesTheSquareAndMarksTheHero) {
    Grid({L"GGG", L"GGG", L"GGG"});
    modVarsAndMain.Player->Doom = 2;
    auto good = Put(1, 1, kTacticStay);
    good->Good = true;
    good->DieScript_File = L"none.die";
    good->Died();
    EXPECT_EQ(At(1, 1), L"G");
    EXPECT_EQ(good->ScriptEvent, kEventDied);
    EXPECT_EQ(modVarsAndMain.Player->Doom, 3);
    EXPECT_EQ(modVarsAndMain.NPCs->Count(), 1);  // removing it is the caller's

    auto evil = Put(2, 2, kTacticStay);
    evil->Died();
    EXPECT_EQ(modVarsAndMain.Player->Doom, 3);

    auto runner = Put(0, 0, kTacticStay);
    runner->run();
    EXPECT_EQ(At(0, 0), L"G");
}
