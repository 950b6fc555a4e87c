// Trigger cells: doors, exits, script cells, the wilderness map and entry scripts.
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
        WriteText(L"scripts/town.sc", L"say(\"Добро пожаловать\")\r\n");
        WriteText(L"scripts/trap.scr", L"say(\"Ловушка!\")\r\n");
    }
    // Entry and place scripts speak for nobody: running one clears the speaker. That is how
    // these tests see a script run, whatever the script itself does.
    void MarkSpeaker() { g().ScriptNPCIndex = 9; }
    bool ScriptRan() { return g().ScriptNPCIndex == 0; }
};

TEST_F(LocationChange, OnlyTheFirstRecordOfACellActs) {
    WriteLocation(L"other", Grass(20, 20), {});
    Record(5, 5, L"house", Variant(3), Variant(7));
    Record(5, 5, L"other", Variant(2), Variant(2));
    w().checkplace();
    EXPECT_EQ(w().WorldName, L"house");
    EXPECT_EQ(g().PlayerX, 3);
    EXPECT_EQ(g().PlayerY, 7);
}

TEST_F(LocationChange, TheLocationLeftIsSavedUnderItsOwnName) {
    Put(1, 1, L"e");
    Record(5, 5, L"house", Variant(3), Variant(7));
    w().checkplace();
    auto map = ReadWholeFile(World::SavedFile(L"town", L".map"));
    ASSERT_TRUE(map);
    // Row 4 (hero row 1) holds the flower in column 4 (hero column 1).
    const std::size_t row4 = 4 * 32;
    EXPECT_EQ(map->substr(row4, 6), L"GGGeGG");
}

TEST_F(LocationChange, DoorsWithoutATargetPositionSwapWithTheReturnPosition) {
    g().ReturnX = Variant(14);
    g().ReturnY = 9;
    Record(5, 5, L"house", Variant(0), Variant(0));
    w().checkplace();
    EXPECT_EQ(w().WorldName, L"house");
    EXPECT_EQ(g().PlayerX, 14);
    EXPECT_EQ(g().PlayerY, 9);
    EXPECT_EQ(g().ReturnX.ToNumber(), 5);
    EXPECT_EQ(g().ReturnY, 5);
    // Back through the house's own door (3, 8), which also has no target position.
    g().PlayerX = 3;
    g().PlayerY = 8;
    w().checkplace();
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_EQ(g().PlayerX, 5);
    EXPECT_EQ(g().PlayerY, 5);
    EXPECT_EQ(g().ReturnX.ToNumber(), 3);
    EXPECT_EQ(g().ReturnY, 8);
}

TEST_F(LocationChange, EntryScriptsRunOnlyWhenComingFromTheWilderness) {
    Record(5, 5, L"house", Variant(3), Variant(7));
    MarkSpeaker();
    w().checkplace();  // town -> house: the house has no entry script anyway
    EXPECT_FALSE(ScriptRan());
    g().PlayerX = 3;
    g().PlayerY = 8;
    w().checkplace();  // house -> town
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_FALSE(ScriptRan());

    w().WorldName = L"wild";
    w().LoadWild(12, 12);
    EXPECT_EQ(w().MapType, kMapWild);
    EXPECT_EQ(g().PlayerX, 12);
    w().checkplace();  // wild -> town
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_EQ(g().PlayerX, 4);
    EXPECT_TRUE(ScriptRan());
}

TEST_F(LocationChange, AScriptCellRunsItsScriptAndChangesNoLocation) {
    Record(5, 5, L"loc", Variant(0), Variant(L"trap.scr"));
    MarkSpeaker();
    w().checkplace();
    EXPECT_TRUE(ScriptRan());
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_EQ(g().PlayerX, 5);
    // And again at every check while the hero stands there.
    MarkSpeaker();
    w().checkplace();
    EXPECT_TRUE(ScriptRan());
}

TEST_F(LocationChange, MissingOrUnsafeTargetsDoNothing) {
    Record(5, 5, L"loc", Variant(0), Variant(L"missing.scr"));
    Record(6, 5, L"loc", Variant(0), Variant(L"..\\..\\trap.scr"));
    Record(7, 5, L"nowhere", Variant(3), Variant(3));
    Record(8, 5, L"..\\saved\\house", Variant(3), Variant(3));
    for (int x = 5; x <= 8; ++x) {
        g().PlayerX = x;
        MarkSpeaker();
        w().checkplace();
        EXPECT_FALSE(ScriptRan());
        EXPECT_EQ(w().WorldName, L"town");
        EXPECT_EQ(g().PlayerX, x);
        EXPECT_EQ(g().PlayerY, 5);
    }
    EXPECT_FALSE(FileExists(World::SavedFile(L"town", L".lst")));
}

TEST_F(LocationChange, UnusedRecordsAreNoExits) {
    // A cave's record 0 stays (0, 0, "", 0, 0).
    w().ClearLocations();
    w().LocCount = 2;
    g().PlayerX = 0;
    g().PlayerY = 0;
    w().checkplace();
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_EQ(g().PlayerX, 0);
}

TEST_F(LocationChange, CaveLevelsCountDownwardsAndANamedPlaceResetsTheDepth) {
    w().InfLevel = 2;
    Record(5, 5, L"AG", Variant(1), Variant(1));
    w().checkplace();
    EXPECT_EQ(w().WorldName, L"AG");
    EXPECT_EQ(w().InfLevel, 3);
    EXPECT_EQ(w().MapType, kMapCave);
    Record(g().PlayerX, g().PlayerY, L"house", Variant(3), Variant(7));
    w().checkplace();
    EXPECT_EQ(w().WorldName, L"house");
    EXPECT_EQ(w().InfLevel, 0);
}

TEST_F(LocationChange, TheWildernessHasNoCharactersOrFloorItemsAndMayShowItsExit) {
    g().NPCs->Add();
    w().mapItemCol->Add();
    g().Darkness = true;
    g().QuestFlags[2] = 1;
    Record(5, 5, L"wild", Variant(20), Variant(30));
    w().checkplace();
    EXPECT_EQ(w().WorldName, L"wild");
    EXPECT_EQ(g().PlayerX, 20);
    EXPECT_EQ(g().PlayerY, 30);
    EXPECT_EQ(g().NPCs->Count(), 0);
    EXPECT_EQ(w().mapItemCol->Count(), 0);
    EXPECT_FALSE(g().Darkness);
    EXPECT_EQ(w().MapType, kMapWild);
    EXPECT_EQ(w().GetPosMap(40, 14), L"q");
    EXPECT_EQ(w().LocCount, 0);
    EXPECT_EQ(w().InfLevel, 0);
}

TEST_F(LocationChange, ADarkPlaceIsDark) {
    WriteLocation(L"sword", Grass(20, 20), {});
    Record(5, 5, L"sword", Variant(3), Variant(3));
    w().checkplace();
    EXPECT_TRUE(g().Darkness);
}

}  // namespace
