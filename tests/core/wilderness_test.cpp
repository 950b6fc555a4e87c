// Wilderness steps and encounters: the beasts' strength and hit points, the quest gates,
// the packs, the questions asked and the battleground they are fought on.
#include "screen_fixture.h"
#include "world/random_content.h"
#include "world/save_set.h"
#include "world/wilderness.h"

using namespace morvath;

namespace {

class Wilderness : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Ground(L'G');
        g().Player->Level = 1;
        g().Player->Luck = 0;
    }
    void Ground(wchar_t tile, int rows = 41) {
        w().WorldName = L"wild";
        for (int row = 0; row < rows; ++row) w().SetRow(row, std::wstring(60, tile));
    }
    // One encounter of kind k on the tile: the draws after the kind are pinned, then 0.5.
    long Meet(int k, std::vector<double> draws, const wchar_t* tile = L"x") {
        draws.insert(draws.begin(), (k + 0.5) / 12);
        draws.resize(draws.size() + 60, 0.5);
        PinnedDraws pins(draws);
        w().WorldName = L"wild";
        g().NPCs->Clear();
        ui.log.clear();
        WildEncounter(tile);
        return g().NPCs->Count();
    }
    bool Asked(const std::wstring& text) { return ui.Count(L"MsgBox|Morvath|" + text) > 0; }
};

std::wstring Describe(const NPC& n, bool where = false) {
    std::wstring s = n.NPCName + L"|" + n.Symbol + L"|" + n.Weapon + L"|" + NumText(n.HP) + L"|" +
                     NumText(n.Strenght) + L"|" + NumText(n.Tactic) + L"|" + n.AIScript_File + L"|" +
                     n.DieScript_File + (n.Good ? L"|good" : L"|bad");
    return where ? s + L"|" + NumText(n.X) + L"," + NumText(n.Y) : s;
}

}  // namespace

TEST(WildBeasts, EachKindHasItsStrengthAndHitPointBases) {
    struct Case { int k; double level, luck; const wchar_t* name; double A, B; };
    const Case cases[] = {
        {3, 1, 0, L"Дикий берендей", 6.5, 12},  {3, 4, 10, L"Дикий берендей", 2, 8},
        {3, 1, 20, L"Дикий берендей", 13.5, 7},  // |A|; B below 1 becomes 7
        {8, 1, 5, L"Дикий берендей", 2.5, 8},   {9, 2, 0, L"Дикий берендей", 5, 12},
        {4, 1, 0, L"Тварь", 3, 11},             {4, 1, 8, L"Тварь", 1, 7},
        {4, 5, -3, L"Тварь", 8.5, 16.5},        {10, 3, 0, L"Медведь", 6.5, 16},
        {10, 1, 9, L"Медведь", 1, 16},          {11, 4, 7, L"Волк", 4, 10},
        {0, 1, 0, L"Паук", 1, 9},               {7, 8, -2, L"Паук", 4, 12},
        {5, 7, 0, L"Паук", 2, 10},              {2, 1, 10, L"Паук", 1, 4},
        {6, 1, 20, L"Паук", 1, 7},
    };
    for (const Case& c : cases) {
        WildBeasts b = BeastsFor(c.k, c.level, c.luck);
        EXPECT_STREQ(b.name, c.name) << c.k;
        EXPECT_DOUBLE_EQ(b.A, c.A) << c.k << " L" << c.level << " U" << c.luck;
        EXPECT_DOUBLE_EQ(b.B, c.B) << c.k << " L" << c.level << " U" << c.luck;
    }
}

// Every kind comes in its numbers (the draw after the question: 0..6 plus 2, less twice the
// luck, plus the level, and one more; 4 plus one when that is 1 or less), each beast hunting
// the hero with its kind's hit points and strength.
TEST_F(Wilderness, EveryKindComesInItsNumbersAndStrength) {
    // The first and the last beast, described.
    struct Case { int k, luck; double countDraw, packDraw; int flag41; long count; const wchar_t *first, *last; };
    const Case cases[] = {
        {0, 0, 0, .5, 0, 4, L"Паук|©|К|10.5|2|1|temp.tai|spider.die|bad", nullptr},
        {4, 0, .99, .5, 0, 10, L"Тварь|t|К|12.5|4|1|temp.tai|tvar.die|bad", nullptr},
        {3, 0, .5, .5, 0, 7, L"Дикий берендей|®|К|13.5|8|1|temp.tai|berend.die|bad", nullptr},
        {8, 1, 0, .5, 0, 5, L"Дикий берендей|®|К|9.5|2|1|temp.tai|berend.die|bad", nullptr},
        {9, 10, .9, .5, 0, 5, L"Дикий берендей|®|К|11.5|6|1|temp.tai|berend.die|bad", nullptr},
        {10, 0, .9, .5, 0, 2, L"Медведь|Ґ|К|17.5|6|1|temp.tai|bear.die|bad", nullptr},
        {11, 0, .9, 0, 0, 3, L"Волк|Ђ|К|11.5|4|1|temp.tai|pvolk.die|bad", nullptr},
        {11, 0, .9, .99, 0, 9, L"Волк|Ђ|К|11.5|4|1|temp.tai|pvolk.die|bad", nullptr},
        {11, 0, .9, .99, 1, 10, L"Черный Волк|™||14|3|1|temp.tai|bwolf.die|bad",
         L"Волк|Ђ|К|11.5|4|1|temp.tai|pvolk.die|bad"},
    };
    for (const Case& c : cases) {
        g().Player->Luck = c.luck;
        g().QuestFlags[41] = c.flag41;
        ASSERT_EQ(Meet(c.k, {0, 0, c.countDraw, c.packDraw}), c.count) << c.k;
        const NPC& last = *g().NPCs->Item(c.count);
        EXPECT_EQ(Describe(*g().NPCs->Item(1)), c.first) << c.k;
        EXPECT_EQ(Describe(last), c.last ? c.last : c.first) << c.k;
        EXPECT_EQ(At(last.X, last.Y), last.Symbol);  // they took their first step onto the grid
    }
    EXPECT_TRUE(Asked(L"Вы встретили несколько Стаю Волков.Вы хотите драться?"));
}

// Some beasts block the way (one draw in seven); from the others the hero may walk away,
// unless the draw before the question says he cannot.
TEST_F(Wilderness, AnsweringNoEscapesUnlessTheBeastsWillNotLetGo) {
    struct Case { double stop, escape; MsgResult answer; const wchar_t* lastWord; long count; };
    const Case cases[] = {
        {.9, 0, MsgResult::No, L"Вас остановило несколько Тварей!", 4},
        {0, .9, MsgResult::No, L"Сбежать невозможно!", 4},
        {0, .7, MsgResult::No, L"Вы встретили несколько Тварей.Вы хотите драться?", 0},
        {0, .9, MsgResult::Yes, L"Вы встретили несколько Тварей.Вы хотите драться?", 4},
    };
    for (const Case& c : cases) {
        ui.msgAnswers.assign(1, c.answer);
        EXPECT_EQ(Meet(4, {c.stop, c.escape, 0}), c.count) << c.stop << c.escape;
        EXPECT_EQ(ui.log.back(), std::wstring(L"MsgBox|Morvath|") + c.lastWord);
        EXPECT_EQ(ui.Count(L"MsgBox|"), 1 + (c.lastWord[0] == L'С'));
    }
}

TEST_F(Wilderness, TheQuestGatesTurnSpidersIntoTheTrampOrTheLoneWarrior) {
    struct Case { int warriorFlag, trampFlag, k; const wchar_t* tile; MsgResult answer; const wchar_t *met, *lastName, *world; };
    const Case cases[] = {
        {0, 0, 0, L"G", MsgResult::Yes, L"несколько Пауков.", L"Паук", L"plain"},
        {1, 0, 2, L"\u040A", MsgResult::Yes, L"Одинокого Воина...", L"Неизвестный воин", L"forest"},
        {1, 0, 5, L"G", MsgResult::No, L"Одинокого Воина...", L"", L"wild"},
        {0, 1, 7, L"G", MsgResult::Yes, L"грязного бродягу Игоря...", L"Игорь", L"plain"},
        {1, 1, 6, L"G", MsgResult::No, L"грязного бродягу Игоря...", L"", L"wild"},
        {2, 2, 1, L"G", MsgResult::Yes, L"несколько Пауков.", L"Паук", L"plain"},  // only 1 opens them
        {1, 1, 3, L"G", MsgResult::Yes, L"несколько Диких берендеев.", L"Дикий берендей", L"plain"},
        {1, 1, 4, L"G", MsgResult::Yes, L"несколько Тварей.", L"Тварь", L"plain"},
        {1, 1, 8, L"G", MsgResult::Yes, L"несколько Диких берендеев.", L"Дикий берендей", L"plain"},
    };
    for (const Case& c : cases) {
        g().QuestFlags[1] = c.warriorFlag;
        g().QuestFlags[3] = c.trampFlag;
        ui.msgAnswers.assign(1, c.answer);
        const long count = Meet(c.k, {0, 0, 0}, c.tile);
        EXPECT_TRUE(Asked(std::wstring(L"Вы встретили ") + c.met)) << c.k;
        EXPECT_EQ(count ? g().NPCs->Item(count)->NPCName : L"", c.lastName) << c.k;
        EXPECT_EQ(w().WorldName, c.world) << c.k;
    }
}

TEST_F(Wilderness, TheTrampAmongHisSpidersAndTheLoneWarrior) {
    std::vector<double> draws;
    for (int i = 0; i < 8; ++i) draws.insert(draws.end(), {i / 8.0, .99 - i / 8.0, i / 8.0});
    PinnedDraws pins(draws);
    PopulateSpiderCave();
    AddUnknownWarrior();
    std::vector<std::wstring> all;
    for (const auto& n : *g().NPCs) all.push_back(Describe(*n, true));
    const std::vector<std::wstring> expected = {
        L"Паук||К|7|2|0|temp.tai|spider.die|bad|19,23",  L"Паук||К|7|2|0|temp.tai|spider.die|bad|19,23",
        L"Паук||К|8|2|0|temp.tai|spider.die|bad|20,22",  L"Паук||К|9|2|0|temp.tai|spider.die|bad|20,22",
        L"Паук||К|10|2|0|temp.tai|spider.die|bad|21,21", L"Паук||К|11|2|0|temp.tai|spider.die|bad|22,20",
        L"Паук||К|12|2|0|temp.tai|spider.die|bad|22,20", L"Паук||К|13|2|0|temp.tai|spider.die|bad|23,19",
        L"Игорь||К|1|0|0|hasb.tai|hasb.die|good|20,20",
        L"Неизвестный воин|.||17|7|0|warrior.tai|warrior.die|bad|20,19",
    };
    EXPECT_EQ(all, expected);
    EXPECT_EQ(w().GetPosMap(23, 23), L"8");
    EXPECT_EQ(w().GetPosMap(23, 22), L".");
    EXPECT_EQ(g().CurNPC, g().NPCs->Item(10));
}

// One wilderness step: grass and forest roll one draw in seven, bad luck meets every step.
TEST_F(Wilderness, OnlyGrassAndForestStepsRollAndBadLuckMeetsEveryStep) {
    struct Case { wchar_t tile; int luck; double roll; bool met; };
    const Case cases[] = {
        {L'G', 0, .45, true}, {L'\u040A', 0, .45, true}, {L'G', 0, .4, false}, {L'G', 5, .6, false},
        {L'G', -4, 0, true},  {L'G', -3, 0, false},       {L'B', -5, .45, false}, {L'c', -5, .45, false},
    };
    for (const Case& c : cases) {
        Ground(c.tile);
        g().Player->Luck = c.luck;
        ui.log.clear();
        ui.msgAnswers.assign(1, MsgResult::No);  // the hero walks on whenever he may
        PinnedDraws pins{c.roll, .9, 0, 0};
        RollWildEncounter();
        EXPECT_EQ(ui.Count(L"MsgBox|") > 0, c.met) << int(c.tile) << c.luck;
    }
}

TEST_F(Wilderness, TheEnterKeyMakesTheGroundUnderTheHero) {
    struct Case { const wchar_t *tile, *place; int luck; };
    const Case cases[] = {{L"G", L"plain", 0}, {L"\u040A", L"forest", 0}, {L"B", L"forest", 0}, {L"G", L"plain", -5}};
    for (const Case& c : cases) {
        Ground(L'a');
        Put(5, 5, c.tile);
        g().PlayerX = g().PlayerY = 5;
        g().NPCs->Clear();
        g().Player->Luck = c.luck;
        SeedRandom(1);  // no luck: the turn's roll meets nobody
        EnterWildLocation();
        EXPECT_EQ(w().WorldName, c.place);
        EXPECT_EQ(w().MapType, kMapForest);
        // The turn's encounter with bad luck: its battleground and beasts stay.
        EXPECT_EQ(g().NPCs->Count() > 0, c.luck < 0);
        if (c.luck < 0) continue;
        EXPECT_EQ(g().PlayerX, 20);
        // The ways out lead back to the hero's square on the wilderness map.
        EXPECT_EQ(w().Record(0).Target.ToText() + NumText(w().Record(0).TargetX.ToNumber()), L"wild5");
    }
}

// The pass opens with its flag, also in a game saved before the pass was drawn there.
TEST_F(Wilderness, ThePassOpensWithItsFlag) {
    for (int flag : {0, 1, 7}) {
        w().SetRow(14, std::wstring(60, L'w'));
        g().QuestFlags[2] = flag;
        PlaceWildExit();
        EXPECT_EQ(w().GetPosMap(40, 14), flag ? L"q" : L"w");
        EXPECT_EQ(w().GetPosMap(39, 14), L"w");
    }
    Ground(L'w', 53);
    ASSERT_TRUE(SaveGame());
    ResetGame();
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(w().WorldName, L"wild");
    EXPECT_EQ(w().GetPosMap(40, 14), L"q");
}
