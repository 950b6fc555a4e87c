#include <cmath>
#include <tuple>
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
        std::tie(n->NPCName, n->Symbol, n->X, n->Y, n->Tactic) = std::tuple(L"Волк", L"W", static_cast<float>(x), static_cast<float>(y), tactic);
        w().setPosMap2(y + 3, x + 3, n->Symbol);
        return n;
    }
    void Hero(int x, int y) { std::tie(modVarsAndMain.PlayerX, modVarsAndMain.PlayerY) = std::tuple(x, y); }
    // One move: at most one square each way, and the symbol stands where the character
    // now stands. True when it moved.
    bool MoveOnce(NPC& n) {
        const float x = n.X, y = n.Y;
        n.Do_Move(1);
        EXPECT_EQ(std::tuple(std::fabs(n.X - x) <= 1, std::fabs(n.Y - y) <= 1, At(n.X, n.Y)), std::tuple(true, true, L"W"));
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
        const bool moved = c.x != 2 || c.y != 2;
        EXPECT_EQ(std::tuple(n->X, n->Y, At(c.x, c.y), moved ? At(2, 2) : L"G"), std::tuple(c.x, c.y, L"W", L"G")) << c.heroX << " " << c.tactic;
    }
}

TEST_F(Characters, BoxedBlockedAndRandomWalkersStepOnlyOntoTheFloor) {
    struct Case { std::vector<const wchar_t*> grid; int heroX, heroY, tactic, turns, minMoves, maxMoves; bool staysUpLeft; };
    const Case cases[] = {
        {{L"aaaaa", L"aaaaa", L"aaGaa", L"aaaaa", L"aaaaa", L"GGGGG"}, 4, 5, kTacticApproach, 30, 0, 0, true},  // boxed in
        // Walled off from the hero on every straight and sideways probe, open behind.
        {{L"GGGaa", L"GGGaa", L"GGGaa", L"aaaaa", L"aaaaa", L"aaaaa"}, 4, 5, kTacticApproach, 60, 1, 60, true},
        {{L"GGGGG", L"GaGGG", L"GG9GG", L"GGGaG", L"GGGGG"}, 2, 1, kTacticRandomWalk, 300, 51, 300, false},
    };
    for (const Case& c : cases) {
        Grid(c.grid);
        modVarsAndMain.NPCs->Clear();
        Hero(c.heroX, c.heroY);
        auto n = Put(2, 2, c.tactic);
        int moved = 0;
        for (int i = 0; i < c.turns; ++i) {
            const float x = n->X, y = n->Y;
            if (MoveOnce(*n)) { ++moved; ASSERT_EQ(At(x, y), L"G"); }
            ASSERT_FALSE(n->X == c.heroX && n->Y == c.heroY) << "stepped onto the hero";
            ASSERT_TRUE(!c.staysUpLeft || (n->X <= 2 && n->Y <= 2));
        }
        EXPECT_TRUE(moved >= c.minMoves && moved <= c.maxMoves) << c.turns << ": " << moved;
    }
}

TEST_F(Characters, TheAdjacencyTestCoversTheEightSquaresAround) {
    Hero(5, 5);
    NPC n;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            n.X = static_cast<float>(5 + dx);
            n.Y = static_cast<float>(5 + dy);
            const bool expect = std::abs(dx) <= 1 && std::abs(dy) <= 1 && (dx != 0 || dy != 0);
            EXPECT_EQ(n.AdjacentToHero(), expect) << dx << "," << dy;
        }
    }
    n.X = 5.5f;
    n.Y = 5;
    EXPECT_FALSE(n.AdjacentToHero());
}

TEST_F(Characters, AStayingCharacterDoesNotTouchTheGrid) {
    Grid({L"GGG", L"G9G", L"GGG"});
    Hero(0, 0);
    auto n = Put(1, 1, kTacticStay);
    w().setPosMap2(4, 4, L"9");
    n->Do_Move(1);
    EXPECT_EQ(std::tuple(n->X, n->Y, At(1, 1)), std::tuple(1.0f, 1.0f, L"9"));
}

TEST_F(Characters, WeaponCodes) {
    NPC n;
    PinnedDraws draws{0, 0.9999};
    // Latin A, its Cyrillic look-alike, the diamond sword, a sword of force 0 to 8.
    for (auto [code, type, name] : {std::tuple{L"A", 2, L"Топор"}, std::tuple{L"А", 1, L"Кулак"}, std::tuple{L"З", 20, L"Алмазный меч"},
                                    std::tuple{L"М", 0, L"Меч"}, std::tuple{L"М", 8, L"Меч"}}) {
        n.Weapon = code;
        EXPECT_EQ(std::tuple(int(n.GetWeaponType()), n.WeaponName), std::tuple(type, name)) << type;
    }
}

TEST_F(Characters, ALastSpeechIsSpokenInsteadOfTheTalkScript) {
    Script("guard.tai", L"should not run");
    auto n = Put(1, 1, kTacticStay);
    std::tie(n->NPCName, n->AIScript_File, n->Last_Speech) = std::tuple(L"Стражник", L"guard.tai", L"Проходи.");
    n->ExecTalkAIScript();
    EXPECT_EQ(std::tuple(modVarsAndMain.screen.txtSpeech, n->scriptText), std::tuple(L"Стражник:Проходи.\r\n\r\n[пробел]", L""));
}

TEST_F(Characters, ScriptsAreReadItemByItem) {
    Script("talk.tai", L"say(\"Привет\")\nfirst,second\n\"quoted, with comma\"\n");
    auto n = Put(1, 1, kTacticStay);
    n->AIScript_File = L"talk.tai";
    Hero(4, 4);
    const std::wstring items = L"say(\"Привет\")\r\nfirst\r\nsecond\r\nquoted, with comma\r\n";
    n->ExecTalkAIScript();
    EXPECT_EQ(std::tuple(n->scriptText, int(modVarsAndMain.PlayerX)), std::tuple(items, 4));
    n->scriptText.clear();
    n->ExecScriptR(L"talk.tai");
    EXPECT_EQ(n->scriptText, items);
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
    // Removing it is the caller's.
    EXPECT_EQ(std::tuple(At(1, 1), int(good->ScriptEvent), modVarsAndMain.Player->Doom, int(modVarsAndMain.NPCs->Count())),
              std::tuple(L"G", kEventDied, 3.0, 1));

    auto evil = Put(2, 2, kTacticStay);
    evil->Died();
    EXPECT_EQ(modVarsAndMain.Player->Doom, 3);

    auto runner = Put(0, 0, kTacticStay);
    runner->run();
    EXPECT_EQ(At(0, 0), L"G");
}
