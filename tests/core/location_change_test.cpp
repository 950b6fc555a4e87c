// Trigger cells: doors, exits, script cells, the wilderness map and entry scripts; then the
// wilderness steps and encounters: the beasts' strength and hit points, the quest gates, the
// packs, the questions asked and the battleground they are fought on.
#include "game/items.h"
#include "screen_fixture.h"
#include "script/cscript.h"
#include "world/game_over.h"
#include "world/random_content.h"
#include "world/save_set.h"
#include "world/wilderness.h"

using namespace morvath;

namespace {

class LocationChange : public ScreenTest {
protected:
    LocationChange() {
        WriteLocation(L"house", Grass(20, 20), {{L"3", L"8", L"town", L"0", L"0"}}, kMapHouse);
        WriteLocation(L"town", Grass(30, 30), {});
        WriteLocation(L"wild", Grass(45, 45), {{L"12", L"12", L"town", L"4", L"4"}});
        WriteLocation(L"other", Grass(20, 20), {});
        WriteLocation(L"sword", Grass(20, 20), {});
        WriteText(L"scripts/town.sc", L"say(\"Добро пожаловать\")\r\n");
        WriteText(L"scripts/trap.scr", L"say(\"Ловушка!\")\r\n");
    }
    // Entry and place scripts speak for nobody: running one clears the speaker. That is how
    // these tests see a script run, whatever the script itself does. The check runs where
    // the hero stands; the answer is where he is then, the return point, the depth and the
    // darkness, and whether a script ran.
    std::wstring Check() {
        g().ScriptNPCIndex = 9;
        w().checkplace();
        return w().WorldName + L" " + std::to_wstring(g().PlayerX) + L"," + std::to_wstring(g().PlayerY) + L" r" +
               g().ReturnX.ToText() + L"," + std::to_wstring(g().ReturnY) + L" k" + std::to_wstring(w().MapType) + L" i" +
               std::to_wstring(w().InfLevel) + (g().Darkness ? L" dark" : L"") + (g().ScriptNPCIndex == 0 ? L" ran" : L"");
    }
    void At(int x, int y) { std::tie(g().PlayerX, g().PlayerY) = std::tuple(x, y); }
};

TEST_F(LocationChange, EachKindOfCellDoesItsOwnThing) {
    const struct { const wchar_t *target; Variant tx, ty; const wchar_t* expected; } cases[] = {
        {L"house", Variant(3), Variant(7), L"house 3,7 r5,5 k2 i0"},
        {L"house", Variant(0), Variant(0), L"house 14,9 r5,5 k2 i0"},  // swaps with the return point
        {L"loc", Variant(0), Variant(L"trap.scr"), L"town 5,5 r14,9 k0 i2 ran"},
        {L"AG", Variant(1), Variant(1), L"AG 17,48 r5,5 k4 i3"},  // caves count downwards
        {L"sword", Variant(3), Variant(3), L"sword 3,3 r5,5 k0 i0 dark"},
        {L"loc", Variant(0), Variant(L"missing.scr"), L"town 5,5 r14,9 k0 i2"},
        {L"loc", Variant(0), Variant(L"..\\..\\trap.scr"), L"town 5,5 r14,9 k0 i2"},
        {L"nowhere", Variant(3), Variant(3), L"town 5,5 r14,9 k0 i2"},
        {L"..\\saved\\house", Variant(3), Variant(3), L"town 5,5 r14,9 k0 i2"}};
    for (const auto& c : cases) {
        NewTown();
        std::tie(w().InfLevel, g().Darkness, g().ReturnX, g().ReturnY) = std::tuple(2, false, Variant(14), 9);
        Record(5, 5, c.target, c.tx, c.ty);
        Record(5, 5, L"other", Variant(2), Variant(2));  // only the first record of a cell acts
        EXPECT_EQ(Check(), c.expected) << c.target;
    }
    // A script cell runs again at every check while the hero stands there.
    NewTown();
    Record(5, 5, L"loc", Variant(0), Variant(L"trap.scr"));
    EXPECT_EQ(Check() + Check(), L"town 5,5 r14,9 k0 i2 rantown 5,5 r14,9 k0 i2 ran");
    // A cave's record 0 stays (0, 0, "", 0, 0) and is no exit.
    w().ClearLocations();
    w().LocCount = 2;
    At(0, 0);
    EXPECT_EQ(Check(), L"town 0,0 r14,9 k0 i2");
}

TEST_F(LocationChange, ThePlaceLeftIsSavedAndTheDoorBackSwapsAgain) {
    Put(1, 1, L"e");
    std::tie(g().ReturnX, g().ReturnY) = std::tuple(Variant(14), 9);
    Record(5, 5, L"house", Variant(0), Variant(0));
    EXPECT_EQ(Check(), L"house 14,9 r5,5 k2 i0");  // town -> house: the house has no entry script
    // Row 4 (hero row 1) holds the flower in column 4 (hero column 1).
    EXPECT_EQ(ReadWholeFile(World::SavedFile(L"town", L".map")).value_or(L"").substr(4 * 32, 6), L"GGGeGG");
    // Back through the house's own door (3, 8), which also has no target position.
    At(3, 8);
    EXPECT_EQ(Check(), L"town 5,5 r3,8 k0 i0");  // no entry script from a house
}

TEST_F(LocationChange, EntryScriptsRunOnlyWhenComingFromTheWilderness) {
    w().WorldName = L"wild";
    w().LoadWild(12, 12);
    EXPECT_EQ(std::tuple(int(w().MapType), int(g().PlayerX)), std::tuple(int(kMapWild), 12));
    EXPECT_EQ(Check(), L"town 4,4 r12,12 k0 i0 ran");
}

TEST_F(LocationChange, TheWildernessHasNoCharactersOrFloorItemsAndMayShowItsExit) {
    g().NPCs->Add();
    w().mapItemCol->Add();
    std::tie(g().Darkness, g().QuestFlags[2], w().InfLevel) = std::tuple(true, 1, 2);
    Record(5, 5, L"wild", Variant(20), Variant(30));
    EXPECT_EQ(Check(), L"wild 20,30 r5,5 k1 i0");
    EXPECT_EQ(std::tuple(g().NPCs->Count(), w().mapItemCol->Count(), w().GetPosMap(40, 14), w().LocCount), std::tuple(0, 0, std::wstring(L"q"), 0));
}

// Where the hero may stay, a place whose files cannot be written is not left: he stays and
// nothing of it is lost (a thing dropped stays with him). The revived warlock cannot stay:
// the loss is told, and told again by the next save rather than a silent success.
TEST_F(LocationChange, APlaceThatCannotBeWrittenIsNotLeftOrItsLossIsTold) {
    const std::wstring cannot = L"MsgBox|Morvath|Не удалось записать файл town.";
    const std::tuple<std::function<void()>, const wchar_t*, std::vector<std::wstring>> cases[] = {
        {[&] { w().checkplace(); }, L"town", {cannot + L"lst. Вы остаётесь здесь: ничего не потеряно."}},
        {[] { Cscript s; s.Script = L"moveworld(\"house\";\"3\";\"3\";\"0\")\r\n"; s.ScriptExecute(); }, L"town",
         {cannot + L"lst. Вы остаётесь здесь: ничего не потеряно."}},
        {[&] { ui.pickAnswers = {1}; DropItem(); }, L"town", {L"Pick", cannot + L"itm. Вещь осталась у вас."}},
        {[&] { std::tie(h().Profession, g().ResurrectionsLeft, g().PlayerDead) = std::tuple(kWarlock, 1, true); GameOver(); },
         L"AG", {cannot + L"lst. Изменения в этом месте потеряны.", L"MsgBox|Morvath|Чёрная Магия и Власть над мёртвыми опять помогли вам - Вы возродились!"}},
    };
    for (const auto& [leave, where, told] : cases) {
        NewTown();
        Put(1, 1, L"e");
        g().Inventory->Clear();
        g().Inventory->Add()->ItemName = L"Нож";
        Record(5, 5, L"house", Variant(3), Variant(3));
        ui.log.clear();
        {
            DiskFaults full([](const DiskCall& c) { return c.step == DiskStep::Write; });
            leave();
        }
        std::vector<std::wstring> seen;
        for (const auto& line : ui.log) if (!line.starts_with(L"Redraw")) seen.push_back(line.starts_with(L"Pick") ? L"Pick" : line);
        EXPECT_EQ(std::tuple(w().WorldName, seen, g().Inventory->Count()), std::tuple(where, told, 1L)) << ToUtf8(where);
    }
    // With room again the door opens, and the town's flower is kept; the save after the
    // warlock's loss says what it lacks, once.
    NewTown();
    Put(1, 1, L"e");
    Record(5, 5, L"house", Variant(3), Variant(3));
    EXPECT_EQ(Check(), L"house 3,3 r5,5 k2 i0");
    ui.log.clear();
    ASSERT_TRUE(SaveGame() && SaveGame());
    EXPECT_EQ(std::tuple(ui.log, ReadWholeFile(World::SavedFile(L"town", L".map")).value_or(L"").substr(4 * 32, 6)),
              std::tuple(std::vector<std::wstring>{L"MsgBox|Morvath|Игра сохранена, но изменения потеряны в местах: town (их не удалось записать)."}, L"GGGeGG"));
}

// Wilderness steps and encounters: the beasts' strength and hit points, the quest gates,
// the packs, the questions asked and the battleground they are fought on.
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
};

std::wstring Describe(const NPC& n, bool where = false) {
    std::wstring s = n.NPCName + L"|" + n.Symbol + L"|" + n.Weapon + L"|" + NumText(n.HP) + L"|" +
                     NumText(n.Strenght) + L"|" + NumText(n.Tactic) + L"|" + n.AIScript_File + L"|" +
                     n.DieScript_File + (n.Good ? L"|good" : L"|bad");
    return where ? s + L"|" + NumText(n.X) + L"," + NumText(n.Y) : s;
}

}  // namespace

// Kind, level and luck: the name and the strength and hit point bases (|A|; B below 1 becomes 7).
TEST(WildBeasts, EachKindHasItsStrengthAndHitPointBases) {
    const std::tuple<int, double, double, std::wstring, double, double> cases[] = {
        {3, 1, 0, L"Дикий берендей", 6.5, 12}, {3, 1, 20, L"Дикий берендей", 13.5, 7}, {8, 1, 5, L"Дикий берендей", 2.5, 8},
        {9, 2, 0, L"Дикий берендей", 5, 12},   {4, 1, 8, L"Тварь", 1, 7},               {4, 5, -3, L"Тварь", 8.5, 16.5},
        {10, 3, 0, L"Медведь", 6.5, 16},       {10, 1, 9, L"Медведь", 1, 16},           {11, 4, 7, L"Волк", 4, 10},
        {0, 1, 0, L"Паук", 1, 9},              {7, 8, -2, L"Паук", 4, 12},              {2, 1, 10, L"Паук", 1, 4}};
    for (const auto& [k, level, luck, name, A, B] : cases) {
        const WildBeasts b = BeastsFor(k, level, luck);
        EXPECT_EQ(std::tuple(std::wstring(b.name), b.A, b.B), std::tuple(name, A, B)) << k << " L" << level << " U" << luck;
    }
}

// Every kind comes in its numbers (the draw after the question: 0..6 plus 2, less twice the
// luck, plus the level, and one more; 4 plus one when that is 1 or less), each beast hunting
// the hero with its kind's hit points and strength.
TEST_F(Wilderness, EveryKindComesInItsNumbersAndStrength) {
    const struct { int k, luck; double countDraw, packDraw; int flag41; long count; const wchar_t *first, *last; } cases[] = {  // the first and last beasts
        {0, 0, 0, .5, 0, 4, L"Паук|©|К|10.5|2|1|temp.tai|spider.die|bad", nullptr},
        {4, 0, .99, .5, 0, 10, L"Тварь|t|К|12.5|4|1|temp.tai|tvar.die|bad", nullptr},
        {3, 0, .5, .5, 0, 7, L"Дикий берендей|®|К|13.5|8|1|temp.tai|berend.die|bad", nullptr},
        {8, 1, 0, .5, 0, 5, L"Дикий берендей|®|К|9.5|2|1|temp.tai|berend.die|bad", nullptr},
        {10, 0, .9, .5, 0, 2, L"Медведь|Ґ|К|17.5|6|1|temp.tai|bear.die|bad", nullptr},
        {11, 0, .9, 0, 0, 3, L"Волк|Ђ|К|11.5|4|1|temp.tai|pvolk.die|bad", nullptr},
        {11, 0, .9, .99, 1, 10, L"Черный Волк|™||14|3|1|temp.tai|bwolf.die|bad", L"Волк|Ђ|К|11.5|4|1|temp.tai|pvolk.die|bad"}};
    for (const auto& c : cases) {
        std::tie(g().Player->Luck, g().QuestFlags[41]) = std::tuple(c.luck, c.flag41);
        ASSERT_EQ(Meet(c.k, {0, 0, c.countDraw, c.packDraw}), c.count) << c.k;
        const NPC& last = *g().NPCs->Item(c.count);
        // They took their first step onto the grid.
        EXPECT_EQ(std::tuple(Describe(*g().NPCs->Item(1)), Describe(last), At(last.X, last.Y)), std::tuple(c.first, c.last ? c.last : c.first, last.Symbol)) << c.k;
    }
}

// Some beasts block the way (one draw in seven); from the others the hero may walk away,
// unless the draw before the question says he cannot.
TEST_F(Wilderness, AnsweringNoEscapesUnlessTheBeastsWillNotLetGo) {
    const struct { double stop, escape; MsgResult answer; const wchar_t* lastWord; long count; } cases[] = {
        {.9, 0, MsgResult::No, L"Вас остановило несколько Тварей!", 4}, {0, .9, MsgResult::No, L"Сбежать невозможно!", 4},
        {0, .7, MsgResult::No, L"Вы встретили несколько Тварей.Вы хотите драться?", 0},
        {0, .9, MsgResult::Yes, L"Вы встретили несколько Тварей.Вы хотите драться?", 4}};
    for (const auto& c : cases) {
        ui.msgAnswers.assign(1, c.answer);
        const long count = Meet(4, {c.stop, c.escape, 0});
        EXPECT_EQ(std::tuple(count, ui.log.back(), ui.Count(L"MsgBox|")), std::tuple(c.count, std::wstring(L"MsgBox|Morvath|") + c.lastWord, 1 + (c.lastWord[0] == L'С')));
    }
}

TEST_F(Wilderness, TheQuestGatesTurnSpidersIntoTheTrampOrTheLoneWarrior) {
    const struct { int warriorFlag, trampFlag, k; const wchar_t* tile; MsgResult answer; const wchar_t *met, *lastName, *world; } cases[] = {
        {0, 0, 0, L"G", MsgResult::Yes, L"несколько Пауков.", L"Паук", L"plain"},
        {1, 0, 2, L"\u040A", MsgResult::Yes, L"Одинокого Воина...", L"Неизвестный воин", L"forest"},
        {1, 0, 5, L"G", MsgResult::No, L"Одинокого Воина...", L"", L"wild"},
        {0, 1, 7, L"G", MsgResult::Yes, L"грязного бродягу Игоря...", L"Игорь", L"plain"},
        {1, 1, 6, L"G", MsgResult::No, L"грязного бродягу Игоря...", L"", L"wild"},
        {2, 2, 1, L"G", MsgResult::Yes, L"несколько Пауков.", L"Паук", L"plain"},  // only 1 opens them
        {1, 1, 3, L"G", MsgResult::Yes, L"несколько Диких берендеев.", L"Дикий берендей", L"plain"},
        {1, 1, 8, L"G", MsgResult::Yes, L"несколько Диких берендеев.", L"Дикий берендей", L"plain"}};
    for (const auto& c : cases) {
        std::tie(g().QuestFlags[1], g().QuestFlags[3]) = std::tuple(c.warriorFlag, c.trampFlag);
        ui.msgAnswers.assign(1, c.answer);
        const long count = Meet(c.k, {0, 0, 0}, c.tile);
        EXPECT_EQ(std::tuple(ui.Count(std::wstring(L"MsgBox|Morvath|Вы встретили ") + c.met) > 0, count ? g().NPCs->Item(count)->NPCName : L"", w().WorldName),
                  std::tuple(true, c.lastName, c.world)) << c.k;
    }
}

TEST_F(Wilderness, TheTrampAmongHisSpidersAndTheLoneWarrior) {
    std::vector<double> draws;
    for (int i = 0; i < 8; ++i) draws.insert(draws.end(), {i / 8.0, .99 - i / 8.0, i / 8.0});
    PinnedDraws pins(draws);
    PopulateSpiderCave();
    const bool trampFirst = g().CurNPC == g().NPCs->Item(9);  // each newcomer is the one scripts work on
    AddUnknownWarrior();
    // The spiders by their hit points and places, then the first spider, the tramp and the warrior whole.
    std::wstring spiders;
    for (int i = 1; i <= 8; ++i) spiders += NumText(g().NPCs->Item(i)->HP) + L":" + NumText(g().NPCs->Item(i)->X) + L"," + NumText(g().NPCs->Item(i)->Y) + L" ";
    const std::vector<std::wstring> all = {spiders, Describe(*g().NPCs->Item(1), true), Describe(*g().NPCs->Item(9), true), Describe(*g().NPCs->Item(10), true)};
    const std::vector<std::wstring> expected = {L"7:19,23 7:19,23 8:20,22 9:20,22 10:21,21 11:22,20 12:22,20 13:23,19 ",
                                                L"Паук||К|7|2|0|temp.tai|spider.die|bad|19,23", L"Игорь||К|1|0|0|hasb.tai|hasb.die|good|20,20",
                                                L"Неизвестный воин|.||17|7|0|warrior.tai|warrior.die|bad|20,19"};
    EXPECT_EQ(std::tuple(all, w().GetPosMap(23, 23), w().GetPosMap(23, 22), trampFirst, g().CurNPC == g().NPCs->Item(10)), std::tuple(expected, L"8", L".", true, true));
}

// One wilderness step: grass and forest roll one draw in seven, bad luck meets every step.
TEST_F(Wilderness, OnlyGrassAndForestStepsRollAndBadLuckMeetsEveryStep) {
    const struct { wchar_t tile; int luck; double roll; bool met; } cases[] = {
        {L'G', 0, .45, true}, {L'\u040A', 0, .45, true}, {L'G', 0, .4, false}, {L'G', 5, .6, false},
        {L'G', -4, 0, true},  {L'G', -3, 0, false},       {L'B', -5, .45, false}, {L'c', -5, .45, false}};
    for (const auto& c : cases) {
        Ground(c.tile);
        // The hero walks on whenever he may.
        std::tie(g().Player->Luck, ui.log, ui.msgAnswers) = std::tuple(c.luck, std::vector<std::wstring>{}, std::deque{MsgResult::No});
        PinnedDraws pins{c.roll, .9, 0, 0};
        RollWildEncounter();
        EXPECT_EQ(ui.Count(L"MsgBox|") > 0, c.met) << int(c.tile) << c.luck;
    }
}

TEST_F(Wilderness, TheEnterKeyMakesTheGroundUnderTheHero) {
    const struct { const wchar_t *tile, *place; int luck; } cases[] = {{L"G", L"plain", 0}, {L"\u040A", L"forest", 0}, {L"B", L"forest", 0}, {L"G", L"plain", -5}};
    // The turn's encounter with bad luck keeps its battleground and beasts; otherwise the hero
    // stands in the middle, and the ways out lead back to his square on the wilderness map.
    for (const auto& c : cases) {
        Ground(L'a');
        Put(5, 5, c.tile);
        std::tie(g().PlayerX, g().PlayerY, g().Player->Luck) = std::tuple(5, 5, c.luck);
        g().NPCs->Clear();
        // The turn's roll (0: nobody, unless the luck is bad), then creatures that stop him.
        PinnedDraws draws{0, 4.5 / 12, .9, 0, 0};
        EnterWildLocation();
        EXPECT_EQ(std::tuple(w().WorldName, w().MapType, g().NPCs->Count() > 0), std::tuple(c.place, kMapForest, c.luck < 0));
        if (c.luck >= 0) { EXPECT_EQ(NumText(g().PlayerX) + w().Record(0).Target.ToText() + NumText(w().Record(0).TargetX.ToNumber()), L"20wild5"); }
    }
}

// The pass opens with any flag but 0, also in a game saved before the pass was drawn there.
TEST_F(Wilderness, ThePassOpensWithItsFlag) {
    Ground(L'w', 53);
    g().QuestFlags[2] = 7;
    ASSERT_TRUE(SaveGame());
    ResetGame();
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(w().WorldName + w().GetPosMap(40, 14) + w().GetPosMap(39, 14), L"wildqw");
}
