// Trigger cells: doors, exits, script cells, the wilderness map and entry scripts.
#include <functional>
#include <tuple>

#include "game/items.h"
#include "script/cscript.h"
#include "world/game_over.h"
#include "world/save_set.h"
#include "world/wilderness.h"
#include "screen_fixture.h"

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

}  // namespace
