// The script commands for characters, the grid, floor items, the location table, the
// calendar and the hero's travels, each with the edges of its rule.
#include "platform/cp1251.h"
#include "screen_fixture.h"
#include "script/cscript.h"

using namespace morvath;

namespace {

class WorldCommands : public ScreenTest {
protected:
    // A fresh game in the same folder.
    void Again() {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SeedRandom(7);
        NewTown();
    }
    // Runs script lines ("\n" between them); the prompts of its input() calls.
    std::vector<std::wstring> Run(const std::wstring& text) {
        std::wstring script;
        for (wchar_t c : text) script += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
        ui.log.clear();
        Cscript s;
        s.Script = script;
        s.ScriptExecute();
        std::vector<std::wstring> seen;
        for (const auto& l : ui.log) {
            if (l.starts_with(L"InputBox|Morvath|")) seen.push_back(l.substr(17));
        }
        return seen;
    }
    // What the command yields, as input() shows it.
    std::wstring Value(const std::wstring& call) {
        auto seen = Run(L"var r\nr ~ " + call + L"\ninput(r)");
        return seen.empty() ? L"<none>" : seen[0];
    }
    std::shared_ptr<NPC> AddCharacter(const std::wstring& name, int x, int y, bool speaks = true) {
        auto npc = g().NPCs->Add();
        npc->NPCName = name;
        npc->Symbol = L"2";
        npc->X = static_cast<float>(x);
        npc->Y = static_cast<float>(y);
        npc->HP = 5;
        npc->Good = true;
        npc->AIScript_File = L"talk.tai";
        Put(x, y, L"2");
        if (speaks) g().ScriptNPCIndex = static_cast<int>(g().NPCs->Count());
        return npc;
    }
};

}  // namespace

TEST_F(WorldCommands, CharactersFightFleeDieAndTurnHostile) {
    AddCharacter(L"Волк", 8, 8);
    Run(L"fight()");  // nobody next to the hero
    EXPECT_FALSE(g().gameScreen.fight.visible);
    EXPECT_NE(g().screen.txtSpeech.find(L"Здесь не с кем сражаться"), std::wstring::npos);
    AddCharacter(L"Волк", 6, 5);
    Run(L"fight()");
    EXPECT_TRUE(g().gameScreen.fight.visible);
    EXPECT_EQ(g().EnemyIndex, 2);

    Again();
    auto thief = AddCharacter(L"Вор", 7, 7);
    g().ScriptNPCIndex = 0;
    Run(L"run()");  // nobody speaks: nothing happens
    EXPECT_EQ(At(7, 7), L"2");
    g().ScriptNPCIndex = 1;
    Run(L"run()");
    EXPECT_EQ(At(7, 7), L"G");
    EXPECT_EQ(thief->AIScript_File, L"blank.tai");

    Again();
    WriteText(L"scripts/x.die", L"setq(\"5\";\"9\")\r\n");
    auto ploughman = AddCharacter(L"Пахарь", 7, 7);
    ploughman->DieScript_File = L"x.die";
    Run(L"died()");
    EXPECT_EQ(g().QuestFlags[5], 9);  // the death script ran
    EXPECT_EQ(g().Player->Doom, 1);   // he was a good man
    EXPECT_EQ(ploughman->ScriptEvent, kEventDied);
    EXPECT_EQ(At(7, 7), L"G");

    // Soldiers by rash(), others only by their exact name.
    Again();
    const wchar_t* names[] = {L"Солдат", L"Купец", L"Стражник", L"стражник", L"Стражник ", L"Стражник"};
    for (int i = 0; i < 6; ++i) AddCharacter(names[i], 7 + i, 7, false);
    Run(L"rash()\nrashbyname(\"Стражник\")");
    const bool hostile[] = {true, false, true, false, false, true};
    for (long i = 1; i <= 6; ++i) {
        EXPECT_EQ(g().NPCs->Item(i)->Tactic == kTacticApproach, hostile[i - 1]) << i;
        EXPECT_EQ(g().NPCs->Item(i)->Good, !hostile[i - 1]) << i;
    }
}

TEST_F(WorldCommands, TheGridAndTheFloor) {
    Put(0, 0, L"d");
    Put(2, 3, L"G");
    struct Case {
        const wchar_t* call;
        const wchar_t* value;  // what it yields
        int x, y;
        const wchar_t* tile;   // the tile at (x, y) afterwards
    };
    const Case cases[] = {
        {L"imap(\"0\";\"0\")", L"d", 0, 0, L"d"},  // position (0, 0) is column 3 of row 3
        {L"cmap(\"2\";\"3\";\"Xyz\")", L"", 2, 3, L"X"},
        {L"cmap(\"4.9\";\"3.2\";\"w\")", L"", 4, 3, L"w"},
        {L"imap(\"4.7\";\"3.9\")", L"w", 4, 3, L"w"},
        {L"cmap(\"a\";\"3\";\"Q\")", L"", 0, 3, L"G"},
        {L"imap(\"x\";\"0\")", L"", 0, 0, L"d"},
        {L"cmap(\"500\";\"3\";\"Q\")", L"", 2, 3, L"X"},  // past the row's end: nothing
        {L"imap(\"500\";\"3\")", L"", 2, 3, L"X"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Value(c.call), c.value) << ToUtf8(c.call);
        EXPECT_EQ(At(c.x, c.y), c.tile) << ToUtf8(c.call);
    }
    EXPECT_EQ(ui.Count(L"MsgBox|"), 0);
}

TEST_F(WorldCommands, PutLaysAnItemAtTheSpeakersFeet) {
    const std::wstring put = L"put(\"Посох\";\"1\";\"2\";\"Старый\";\"staff.itm\";\"3\";\"1\";\"2.5\";\"70.5\";\"SI+01\")";
    Run(put);  // nobody speaks
    EXPECT_EQ(w().mapItemCol->Count(), 0);
    AddCharacter(L"Старец", 7, 9);
    Run(put);
    ASSERT_EQ(w().mapItemCol->Count(), 1);
    const Item& item = *w().mapItemCol->Item(1);
    EXPECT_EQ(item.ItemName, L"Посох");
    EXPECT_EQ(item.ItemType, 1);
    EXPECT_EQ(item.itembalance, 2);
    EXPECT_EQ(item.ItemInfo, L"Старый");
    EXPECT_EQ(item.ItemScript, L"staff.itm");
    EXPECT_EQ(item.WeaponPlus, 3);
    EXPECT_EQ(item.DefendPlus, 1);
    EXPECT_EQ(item.Weight, 2.5);
    EXPECT_EQ(item.Critical, 70);  // rounded, halves to even
    EXPECT_EQ(item.SkillPlus, L"SI+01");
    EXPECT_EQ(item.X, 7);
    EXPECT_EQ(item.Y, 9);
    EXPECT_EQ(At(7, 9), L"9");
    EXPECT_EQ(g().CurItem.get(), &item);
}

TEST_F(WorldCommands, AddLocationAppendsOnlyPlainDistinctRecords) {
    w().LocCount = -1;
    struct Case {
        const wchar_t* args;
        int count;  // records afterwards
    };
    const Case cases[] = {
        {L"\"4\";\"5\";\"A1\";\"7\";\"8\"", 1},
        {L"\"4\";\"5\";\"N1\";\"1\";\"1\"", 1},     // that cell has its record
        {L"\"6\";\"5\";\"..\\\\A1\";\"7\";\"8\"", 1},  // not a place's name
        {L"\"6\";\"5\";\"loc\";\"0\";\"../x.scr\"", 1},
        {L"\"6\";\"5\";\"loc\";\"0\";\"trap.scr\"", 2},
        {L"\"6\";\"6\";\"A1\";\"7\"", 2},            // a missing argument
    };
    for (const Case& c : cases) {
        Run(std::wstring(L"addlocation(") + c.args + L")");
        EXPECT_EQ(w().LocCount + 1, c.count) << ToUtf8(c.args);
    }
    EXPECT_EQ(w().Record(0).Target.ToText(), L"A1");
    EXPECT_EQ(w().Record(0).TargetY.ToNumber(), 8);
    EXPECT_EQ(w().Record(1).TargetY.ToText(), L"trap.scr");
    // A full table takes no more.
    for (int i = 0; i < 40; ++i) Run(L"addlocation(\"" + std::to_wstring(i) + L"\";\"20\";\"A1\";\"1\";\"1\")");
    EXPECT_EQ(w().LocCount, World::kMaxRecord);
}

TEST_F(WorldCommands, TurnsDepthAndLight) {
    struct Case {
        int day, turn, depth;
        const wchar_t* turns;
    };
    const Case cases[] = {
        {1, 250, 0, L"250"},
        {1, 0, 1, L"0"},
        {33, 767, 2, L"32767"},
        {33, 768, 7, L"32768"},
        {40, 0, 12, L"39000"},
        {40, 999, 3, L"39999"},
    };
    for (const Case& c : cases) {
        w().Day = c.day;
        w().Turn = c.turn;
        w().InfLevel = c.depth;
        EXPECT_EQ(Value(L"getturns()"), c.turns) << c.day;
        EXPECT_EQ(Value(L"getinflevel()"), std::to_wstring(c.depth));
    }
    g().SkipRedraw = false;
    const auto drawn = g().gameScreen.view.serial;
    Run(L"light()");
    EXPECT_TRUE(g().SkipRedraw);
    EXPECT_EQ(g().gameScreen.view.serial, drawn + 1);
}

TEST_F(WorldCommands, MoveWorldThereAndBackRestoresThePosition) {
    WriteLocation(L"town", Grass(41, 30), {});
    WriteLocation(L"far", Grass(41, 30), {});
    g().PlayerX = 6;
    g().PlayerY = 7;
    Put(9, 9, L"d");  // changes in the town before leaving it
    w().mapItemCol->Add()->ItemName = L"Нож";
    Run(L"moveworld(\"far\";\"12\";\"14\";\"0\")");
    EXPECT_EQ(w().WorldName, L"far");
    EXPECT_EQ(g().PlayerX, 12);
    EXPECT_EQ(g().PlayerY, 14);
    EXPECT_EQ(g().ReturnX.ToNumber(), 6);
    EXPECT_EQ(g().ReturnY, 7);
    EXPECT_EQ(At(9, 9), L"G");

    Run(L"moveworld(\"town\";\"99\";\"99\";\"1\")");
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_EQ(g().PlayerX, 6);
    EXPECT_EQ(g().PlayerY, 7);
    EXPECT_EQ(g().ReturnX.ToNumber(), 12);  // the position he left is the new way back
    EXPECT_EQ(g().ReturnY, 14);
    EXPECT_EQ(At(9, 9), L"d");  // the town was saved when he left it
    ASSERT_EQ(w().mapItemCol->Count(), 1);
    EXPECT_EQ(w().mapItemCol->Item(1)->ItemName, L"Нож");

    // Nowhere to go: nothing changes.
    for (const wchar_t* bad : {L"nowhere", L"..\\\\far", L""}) {
        Run(std::wstring(L"moveworld(\"") + bad + L"\";\"1\";\"1\";\"0\")");
        EXPECT_EQ(w().WorldName, L"town") << ToUtf8(bad);
        EXPECT_EQ(g().PlayerX, 6);
    }
}

TEST_F(WorldCommands, MoveWorldToGeneratedGroundsKeepsWhatTheyMade) {
    struct Case {
        const wchar_t* target;
        int mapType;
    };
    const Case cases[] = {{L"plain", kMapForest}, {L"AG", kMapCave}};
    for (const Case& c : cases) {
        // Files of an older ground of that name must not replace the fresh one.
        WriteLocation(c.target, Grass(41, 30), {}, kMapTown);
        w().WorldName = L"town";
        Run(std::wstring(L"moveworld(\"") + c.target + L"\";\"20\";\"21\";\"0\")");
        EXPECT_EQ(w().WorldName, c.target);
        EXPECT_EQ(w().MapType, c.mapType);
        EXPECT_GE(w().LocCount, 1);  // its ways out are there
        EXPECT_EQ(g().PlayerX, 20);
        EXPECT_EQ(g().PlayerY, 21);
    }
}
