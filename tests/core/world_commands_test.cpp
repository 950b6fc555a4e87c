// The script commands for characters, the grid, floor items, the location table, the
// calendar and the hero's travels, each with the edges of its rule.
#include "screen_fixture.h"
#include "script_test_support.h"

using namespace morvath;

namespace {

class WorldCommands : public ScreenTest {
protected:
    void Run(const std::wstring& text) {
        ui.log.clear();
        Cscript s;
        s.Script = ScriptLines(text);
        s.ScriptExecute();
    }
    // What the command yields, as input() shows it.
    std::wstring Value(const std::wstring& call) {
        Run(L"var r\nr ~ " + call + L"\ninput(r)");
        return ui.log.empty() ? L"<none>" : ui.log.back().substr(17);
    }
    std::shared_ptr<NPC> AddCharacter(const std::wstring& name, int x, int y, bool speaks = true) {
        auto npc = g().NPCs->Add();
        *npc = NPC{};
        npc->NPCName = name, npc->Symbol = L"2", npc->X = float(x), npc->Y = float(y);
        npc->HP = 5, npc->AIScript_File = L"talk.tai", npc->Good = true;
        Put(x, y, L"2");
        if (speaks) g().ScriptNPCIndex = static_cast<int>(g().NPCs->Count());
        return npc;
    }
};

}  // namespace

// Soldiers turn hostile by rash(), others only by their exact name.
TEST_F(WorldCommands, CharactersFightFleeDieAndTurnHostile) {
    AddCharacter(L"Волк", 8, 8);
    Run(L"fight()");  // nobody next to the hero
    const bool nobody = !g().gameScreen.fight.visible && g().screen.txtSpeech.find(L"Здесь не с кем сражаться") != std::wstring::npos;
    AddCharacter(L"Волк", 6, 5);
    Run(L"fight()");
    EXPECT_EQ(std::tuple(nobody, g().gameScreen.fight.visible, int(g().EnemyIndex)), std::tuple(true, true, 2));

    auto thief = AddCharacter(L"Вор", 7, 7);
    WriteText(L"scripts/x.die", L"setq(\"5\";\"9\")\r\n");
    auto ploughman = AddCharacter(L"Пахарь", 8, 9);
    ploughman->DieScript_File = L"x.die";
    Run(L"died()");
    g().ScriptNPCIndex = 3;
    Run(L"run()");
    EXPECT_EQ(std::tuple(At(7, 7), thief->AIScript_File, At(8, 9), int(ploughman->ScriptEvent), int(g().QuestFlags[5]), g().Player->Doom),
              std::tuple(L"G", L"blank.tai", L"G", kEventDied, 9, 1.7));  // 0.7 for the fight, 1 for the good man

    const wchar_t* names[] = {L"Солдат", L"Купец", L"Стражник", L"стражник", L"Стражник ", L"Стражник"};
    for (int i = 0; i < 6; ++i) AddCharacter(names[i], 7 + i, 10, false);
    Run(L"rash()\nrashbyname(\"Стражник\")");
    std::wstring tactics;  // hostile: approaching and not good
    for (const auto& n : *g().NPCs) tactics += NumText(n->Tactic) + (n->Good ? L"good " : L"bad ");
    EXPECT_EQ(tactics, L"0good 0good 0good 0good 1bad 0good 1bad 0good 0good 1bad ");
}

TEST_F(WorldCommands, TheGridTheFloorAndTheCalendar) {
    Put(0, 0, L"d");
    Put(2, 3, L"G");
    // A call, what it yields, and the tile at (x, y) afterwards.
    struct Case { const wchar_t *call, *value; int x, y; const wchar_t* tile; };
    const Case cases[] = {
        // Position (0, 0) is column 3 of row 3; past the row's end is nothing.
        {L"imap(\"0\";\"0\")", L"d", 0, 0, L"d"},          {L"cmap(\"2\";\"3\";\"Xyz\")", L"", 2, 3, L"X"},
        {L"cmap(\"4.9\";\"3.2\";\"w\")", L"", 4, 3, L"w"}, {L"imap(\"4.7\";\"3.9\")", L"w", 4, 3, L"w"},
        {L"cmap(\"a\";\"3\";\"Q\")", L"", 0, 3, L"G"},     {L"imap(\"x\";\"0\")", L"", 0, 0, L"d"},
        {L"cmap(\"500\";\"3\";\"Q\")", L"", 2, 3, L"X"},   {L"imap(\"500\";\"3\")", L"", 2, 3, L"X"},
    };
    for (const Case& c : cases) {
        const std::wstring value = Value(c.call);
        EXPECT_EQ(value + L"|" + At(c.x, c.y), c.value + (L"|" + std::wstring(c.tile))) << ToUtf8(c.call);
    }
    EXPECT_EQ(ui.Count(L"MsgBox|"), 0);
    // Whole game days reach past 16 bits.
    struct Turns { int day, turn, depth; const wchar_t* turns; };
    for (const Turns& c : {Turns{1, 250, 0, L"250"}, Turns{33, 767, 2, L"32767"}, Turns{33, 768, 7, L"32768"}, Turns{40, 999, 3, L"39999"}}) {
        std::tie(w().Day, w().Turn, w().InfLevel) = std::tuple(c.day, c.turn, c.depth);
        EXPECT_EQ(Value(L"getturns()") + Value(L"getinflevel()"), c.turns + std::to_wstring(c.depth)) << c.day;
    }
}

TEST_F(WorldCommands, PutLaysAnItemAtTheSpeakersFeet) {
    const std::wstring put = L"put(\"Посох\";\"1\";\"2\";\"Старый\";\"staff.itm\";\"3\";\"1\";\"2.5\";\"70.5\";\"SI+01\")";
    Run(put);  // nobody speaks
    AddCharacter(L"Старец", 7, 9);
    Run(put);
    const Item& item = *w().mapItemCol->Item(1);  // only the second one put it
    EXPECT_EQ(GivenFields(item) + L"|" + NumText(item.X) + L"," + NumText(item.Y) + L"|" + At(7, 9),
              L"Посох|1|2|Старый|staff.itm|3|1|2.5|70|SI+01|7,9|9");  // the critical rounded, halves to even
    EXPECT_EQ(g().CurItem.get(), &item);
}

TEST_F(WorldCommands, AddLocationAppendsOnlyPlainDistinctRecords) {
    w().LocCount = -1;
    Run(L"addlocation(\"4\";\"5\";\"A1\";\"7\";\"8\")\naddlocation(\"4\";\"5\";\"N1\";\"1\";\"1\")\n"  // that cell has its record
        L"addlocation(\"6\";\"5\";\"..\\\\A1\";\"7\";\"8\")\naddlocation(\"6\";\"5\";\"loc\";\"0\";\"../x.scr\")\n"
        L"addlocation(\"6\";\"5\";\"loc\";\"0\";\"trap.scr\")\naddlocation(\"6\";\"6\";\"A1\";\"7\")");
    EXPECT_EQ(w().Record(0).Target.ToText() + NumText(w().Record(0).TargetY.ToNumber()) + w().Record(1).TargetY.ToText() + NumText(w().LocCount),
              L"A18trap.scr1");
    // A full table takes no more.
    for (int i = 0; i < 40; ++i) Run(L"addlocation(\"" + std::to_wstring(i) + L"\";\"20\";\"A1\";\"1\";\"1\")");
    EXPECT_EQ(w().LocCount, World::kMaxRecord);
}

// There and back restores the position; the ground left is saved; nowhere to go changes
// nothing; generated grounds keep what they made, not older files of that name. The tile
// under the hero is read before a named place is loaded: the stump he left in the town
// (seen where no view is drawn over it: "far" has a painter kind that draws nothing).
TEST_F(WorldCommands, MoveWorldThereAndBackRestoresThePosition) {
    for (const wchar_t* place : {L"town", L"plain", L"AG"}) WriteLocation(place, Grass(41, 30), {});
    WriteLocation(L"far", Grass(41, 30), {}, 9);
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(6, 7);
    Put(9, 9, L"d");  // changes in the town before leaving it
    Put(6, 7, L"п");
    w().mapItemCol->Add()->ItemName = L"Нож";
    struct Step { const wchar_t *args, *world; int x, y, backX, backY; const wchar_t* tileAt9; int mapType; };
    const Step steps[] = {
        {L"\"far\";\"12\";\"14\";\"0\"", L"far", 12, 14, 6, 7, L"G", 9},
        {L"\"town\";\"99\";\"99\";\"1\"", L"town", 6, 7, 12, 14, L"d", kMapTown},
        {L"\"nowhere\";\"1\";\"1\";\"0\"", L"town", 6, 7, 12, 14, L"d", kMapTown},
        {L"\"..\\\\far\";\"1\";\"1\";\"0\"", L"town", 6, 7, 12, 14, L"d", kMapTown},
        {L"\"AG\";\"20\";\"21\";\"0\"", L"AG", 20, 21, 6, 7, nullptr, kMapCave},
        {L"\"plain\";\"20\";\"21\";\"0\"", L"plain", 20, 21, 20, 21, nullptr, kMapForest},
    };
    for (const Step& s : steps) {
        Run(std::wstring(L"moveworld(") + s.args + L")");
        EXPECT_EQ(std::tuple(w().WorldName, int(g().PlayerX), int(g().PlayerY), g().ReturnX.ToNumber(), int(g().ReturnY), int(w().MapType)),
                  std::tuple(s.world, s.x, s.y, double(s.backX), s.backY, s.mapType)) << ToUtf8(s.args);
        if (s.mapType == 9) { EXPECT_EQ(g().CurTile, L"п"); }
        if (s.tileAt9) { EXPECT_EQ(At(9, 9), s.tileAt9) << ToUtf8(s.args); }
        else { EXPECT_EQ(std::pair(w().LocCount >= 1, w().mapItemCol->Count()), std::pair(true, 0L)); }  // its ways out, and not the town's floor
        if (s.backX == 12) { EXPECT_EQ(w().mapItemCol->Count() ? w().mapItemCol->Item(1)->ItemName : L"", L"Нож"); }
    }
}
