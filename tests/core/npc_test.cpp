#include <functional>

#include "platform/cp1251.h"
#include "test_support.h"
#include "world/hooks.h"
#include "world/turn.h"

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
};

}  // namespace

// One step from (2, 2): straight when it can, else sliding along one axis, else a random
// step (the pinned draws: 0 to 1/3 is 0, then 1, then -1) onto the floor only, never onto
// the hero. The symbol moves with the character.
TEST_F(Characters, StepsAndTheirDetours) {
    struct Case { std::vector<const wchar_t*> grid; int heroX, heroY, tactic; std::vector<double> draws; float x, y; };
    const std::vector<const wchar_t*> open(6, L"GGGGGG");
    const std::vector<const wchar_t*> boxed = {L"aaaaa", L"aaaaa", L"aaGaa", L"aaaaa", L"aaaaa", L"GGGGG"};
    const std::vector<const wchar_t*> walled = {L"GGGaa", L"GGGaa", L"GGGaa", L"aaaaa", L"aaaaa", L"aaaaa"};
    const Case cases[] = {
        {open, 5, 5, kTacticApproach, {}, 3, 3},
        {{L"GGGGGG", L"GGGGGG", L"GGGGGG", L"GGGaGG", L"GGGGGG", L"GGGGGG"}, 5, 5, kTacticApproach, {}, 3, 2},
        {{L"GGGGGG", L"GGGGGG", L"GGGaGG", L"GG9aGG", L"GGGGGG", L"GGGGGG"}, 5, 5, kTacticApproach, {}, 2, 3},  // onto the heap
        {open, 3, 3, kTacticApproach, {}, 2, 2},
        {open, 0, 0, kTacticFlee, {}, 3, 3},
        {open, 2, 0, kTacticFlee, {}, 2, 3},  // straight above it: straight down
        {boxed, 4, 5, kTacticApproach, {0.5, 0.5}, 2, 2},
        {walled, 4, 5, kTacticApproach, {0.9, 0.9}, 1, 1},
        {open, 0, 5, kTacticRandomWalk, {0.5, 0.9}, 3, 1},
        {walled, 0, 5, kTacticRandomWalk, {0.5, 0.5}, 2, 2},
        {open, 2, 1, kTacticRandomWalk, {0, 0.9}, 2, 2},
        {open, 2, 1, kTacticStay, {0.5, 0.5}, 2, 2},
    };
    for (const Case& c : cases) {
        Grid(c.grid);
        modVarsAndMain.NPCs->Clear();
        Hero(c.heroX, c.heroY);
        auto n = Put(2, 2, c.tactic);
        PinnedDraws draws(c.draws);
        n->Do_Move(1);
        const bool moved = c.x != 2 || c.y != 2;
        EXPECT_EQ(std::tuple(n->X, n->Y, At(c.x, c.y), moved ? At(2, 2) : L"G"), std::tuple(c.x, c.y, L"W", L"G")) << &c - cases;
    }
}

TEST_F(Characters, TheAdjacencyTestCoversTheEightSquaresAround) {
    Hero(5, 5);
    NPC n;
    std::string seen;
    for (int i = 0; i < 26; ++i) {
        std::tie(n.X, n.Y) = i < 25 ? std::tuple(float(3 + i % 5), float(3 + i / 5)) : std::tuple(5.5f, 5.0f);
        seen += n.AdjacentToHero() ? '1' : '0';
    }
    EXPECT_EQ(seen, "00000011100101001110000000");
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

// A last speech is spoken instead of the talk script; scripts are read item by item; a
// script outside the folder is never read.
TEST_F(Characters, TalkScripts) {
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "scripts" / "talk.tai", EncodeCp1251(L"say(\"Привет\")\r\nfirst,second\r\n\"quoted, with comma\"\r\n")));
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "scripts" / "x.tai", "x"));
    auto n = Put(1, 1, kTacticStay);
    std::tie(n->NPCName, n->AIScript_File, n->Last_Speech) = std::tuple(L"Стражник", L"talk.tai", L"Проходи.");
    n->ExecTalkAIScript();
    EXPECT_EQ(std::tuple(modVarsAndMain.screen.txtSpeech, n->scriptText), std::tuple(L"Стражник:Проходи.\r\n\r\n[пробел]", L""));
    n->Last_Speech.clear();
    n->ExecTalkAIScript();
    n->ExecScriptR(L"..\\scripts\\x.tai");
    EXPECT_EQ(n->scriptText, L"say(\"Привет\")\r\nfirst\r\nsecond\r\nquoted, with comma\r\n");
    n->ExecScriptR(L"x.tai");
    EXPECT_EQ(n->scriptText, L"x\r\n");
}

// Removing the dead is the caller's; a good one's death marks the hero. A square that holds
// things shows their heap again when its character dies, runs or steps off.
TEST_F(Characters, DyingAndFleeingFreeTheSquare) {
    Grid({L"GGG", L"GGG", L"GGG"});
    Hero(5, 5);
    for (auto [x, y] : {std::pair(1.0f, 1.0f), {0.0f, 0.0f}, {2.0f, 0.0f}}) {
        auto heap = w().mapItemCol->Add();
        std::tie(heap->X, heap->Y) = std::tuple(x, y);
    }
    modVarsAndMain.Player->Doom = 2;
    auto good = Put(1, 1, kTacticStay);
    std::tie(good->Good, good->DieScript_File) = std::tuple(true, L"none.die");
    good->Died();
    Put(2, 2, kTacticStay)->Died();
    Put(0, 0, kTacticStay)->run();
    PinnedDraws down{0, 0.5};
    Put(2, 0, kTacticRandomWalk)->Do_Move(4);
    EXPECT_EQ(std::tuple(At(1, 1) + At(2, 2) + At(0, 0) + At(2, 0) + At(2, 1), int(good->ScriptEvent), modVarsAndMain.Player->Doom, int(modVarsAndMain.NPCs->Count())),
              std::tuple(L"9G99W", kEventDied, 3.0, 4));
}

// In a turn every character moves once, in order, while it is still one of the place's: the
// fight a hunter starts may take characters away, before or after it in the collection, move
// one to the end or bring a new one, which waits for the next turn. Walkers A, B, C (and the
// newcomer) step right (pinned draws: 0.5 is 1, 0 is 0); the hunter H reaches the hero.
TEST_F(Characters, ATurnMovesEachCharacterStillThereOnce) {
    static std::function<void(NPCCol&)> fight;
    const auto installed = Hooks().startFight;
    Hooks().startFight = [](double, double) {
        fight(*modVarsAndMain.NPCs);
        auto newcomer = modVarsAndMain.NPCs->Add();
        std::tie(newcomer->Symbol, newcomer->Y, newcomer->Tactic) = std::tuple(L"W", 5.0f, kTacticRandomWalk);
    };
    // The collection is A H B C.
    const std::pair<std::function<void(NPCCol&)>, const char*> cases[] = {
        {[](NPCCol&) {}, "ABC"}, {[](NPCCol& c) { c.RemoveAt(2); }, "ABC"}, {[](NPCCol& c) { c.RemoveAt(3); }, "A C"},
        {[](NPCCol& c) { c.RemoveAt(1); }, "ABC"}, {[](NPCCol& c) { c.RemoveAt(1), c.RemoveAt(2); }, "A C"},
        {[](NPCCol& c) { c.Append(c.Item(3)), c.RemoveAt(3); }, "ABC"}, {[](NPCCol& c) { c.Clear(); }, "A  "}};
    for (const auto& [remove, moved] : cases) {
        Grid(std::vector<const wchar_t*>(6, L"GGGGGG"));
        modVarsAndMain.NPCs->Clear();
        Hero(0, 0);
        const auto a = Put(0, 2, kTacticRandomWalk);
        Put(1, 0, kTacticApproach);
        const auto b = Put(0, 3, kTacticRandomWalk), c = Put(0, 4, kTacticRandomWalk);
        fight = remove;
        PinnedDraws draws{0.5, 0, 0.5, 0, 0.5, 0, 0.5, 0};
        MoveAllNPCs();
        const std::string seen = {a->X == 1 ? 'A' : ' ', b->X == 1 ? 'B' : ' ', c->X == 1 ? 'C' : ' '};
        EXPECT_EQ(std::pair(seen, At(1, 5)), std::pair(std::string(moved), std::wstring(L"G"))) << moved;
    }
    Hooks().startFight = installed;
}
