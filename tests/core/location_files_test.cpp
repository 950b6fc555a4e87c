#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cfloat>

#include "platform/cp1251.h"
#include "test_support.h"
#include "world/game_state.h"
#include "world/turn.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

struct LocationFiles : GameTest {
    LocationFiles() { w().WorldName = L"N1"; }
    NPCCol& npcs() { return *modVarsAndMain.NPCs; }
    ItemCol& floor() { return *w().mapItemCol; }

    // Writes a file of the location in cp1251 with CRLF line ends.
    void Put(const std::string& name, const std::wstring& text) {
        ASSERT_TRUE(WriteFileAtomic(folder.saved(name), ToCrlf(EncodeCp1251(text))));
    }
    // The newest version of a file, as the running game reads it.
    fs::path Current(const std::string& name) { return SaveFolder().Current(FromUtf8(name)); }
    std::string Bytes(const std::string& name) { return ReadBytes(Current(name)).value_or("<missing>"); }

    // A location holding one of everything the files can carry.
    void FillLocation() {
        for (int r = 0; r <= 70; ++r) w().SetRow(r, std::wstring(r % 5 + 1, L'G') + L"aЊп'#");
        w().SetRow(10, L"");
        auto a = npcs().Add();
        a->NPCName = L"Стражник";
        a->HP = 12.25;
        a->Symbol = L"S";
        a->Tactic = 3;
        a->Weapon = L"М";
        a->X = 20.5f;
        a->Y = 7;
        a->Strenght = 6;
        a->AIScript_File = L"guard.tai";
        a->DieScript_File = L"guard.die";
        a->Last_Speech = L"Проходи, путник, не задерживайся";
        a->Good = true;
        auto b = npcs().Add();
        b->NPCName = L"Паук";
        b->HP = 3;
        b->Symbol = L"©";
        b->Tactic = 1;
        b->Weapon = L"к";
        b->X = 0.1f;
        b->Y = -2;
        b->DieScript_File = L"spider.die";
        auto it = floor().Add();
        it->X = 20.5f;
        it->Y = 0.1f;
        it->ItemName = L"Меч";
        it->ItemType = 1;
        it->ItemInfo = L"Старый, ржавый";
        it->Weight = 2.5;
        it->WeaponPlus = 5;
        it->DefendPlus = -1;
        it->itembalance = -1;
        it->ItemScript = L"sword.scr";
        it->Critical = 30;
        it->SkillPlus = L"St+02";
        it->ItemCount = 4;  // not stored: a floor item is one piece
        floor().Add()->ItemName = L"Камень";
        w().ClearLocations();
        w().LocCount = -1;
        w().addLocation(17, 2, L"wild", 30, 12);
        w().addLocation(5, 6, L"loc", 0, L"trap.scr");
        w().addLocation(8, 9, L"H2", 0, 0);
        w().MapType = 4;
    }
    void SaveLocation() {
        EXPECT_TRUE(w().SaveChars());
        EXPECT_TRUE(w().SaveItems());
        EXPECT_TRUE(w().SaveMap());
        EXPECT_TRUE(w().SaveCoords());
    }
    // Forgets the location in memory, as another location would.
    void Forget() {
        auto name = w().WorldName;
        modVarsAndMain.TheWorld = std::make_shared<World>();
        modVarsAndMain.NPCs->Clear();
        w().WorldName = name;
    }
};

}  // namespace

// One of everything is written as the golden files hold it and read back whole: written
// again after loading, the files are the same bytes.
TEST_F(LocationFiles, WrittenAndReadBackGivesTheSameLocation) {
    FillLocation();
    PutNPCsOnMap();  // in play the characters stand on the grid, and loading puts them back there
    SaveLocation();
    const fs::path golden = fs::path(MORVATH_TEST_DATA) / "location_golden";
    std::map<std::string, std::string> files;
    for (const char* name : {"N1.map", "N1.lst", "N1.itm", "N1.crd", "N1.tle"}) {
        files[name] = Bytes(name);
        EXPECT_EQ(files[name], ReadBytes(golden / name).value_or("missing")) << name;
    }
    Forget();
    ASSERT_TRUE(LocationFilesExist(L"N1"));
    EXPECT_TRUE(w().Load_World());
    EXPECT_EQ(modVarsAndMain.CurNPC, npcs().Item(2));
    EXPECT_EQ(floor().Item(1)->ItemCount, 0);  // a floor item is one piece
    EXPECT_EQ(w().LocCount, 2);
    EXPECT_EQ(w().MapType, 4);
    EXPECT_EQ(w().Record(0).TargetY.ToNumber(), 12);  // read back as text: written without blanks
    EXPECT_EQ(w().Record(1).TargetY.ToText(), L"trap.scr");
    files.erase("N1.crd");
    SaveLocation();
    for (auto& [name, bytes] : files) EXPECT_EQ(Bytes(name), bytes) << name;
}

TEST_F(LocationFiles, AQuoteInATextCannotBreakTheRecordsAfterIt) {
    auto a = npcs().Add();
    a->NPCName = L"Нищий";
    a->Last_Speech = L"Он сказал \"прочь\", и ушёл";
    npcs().Add()->NPCName = L"Второй";
    ASSERT_TRUE(w().SaveChars());
    w().LoadChar(Current("N1.lst"));
    ASSERT_EQ(npcs().Count(), 2);
    EXPECT_EQ(npcs().Item(1)->Last_Speech, L"Он сказал 'прочь', и ушёл");
    EXPECT_EQ(npcs().Item(2)->NPCName, L"Второй");
}

TEST_F(LocationFiles, APainterKindWithABlankBeforeItIsRead) {
    Put("N1.map", L"GGG\n");
    Put("N1.crd", L"");
    Put("N1.tle", L" 4\n#This is a TileSet type file.Do not remove this Line!\n");
    EXPECT_TRUE(w().Load_World());
    EXPECT_EQ(w().MapType, 4);
    EXPECT_EQ(w().LocCount, -1);
}

TEST_F(LocationFiles, AShorterGridLeavesTheRowsBelowItInPlace) {
    for (int r = 0; r <= 70; ++r) w().SetRow(r, L"old" + std::to_wstring(r));
    std::wstring text;
    for (int r = 0; r < 57; ++r) text += L"new" + std::to_wstring(r) + L"\n";
    Put("D1.map", text);
    w().LoadMapRows(Current("D1.map"));
    EXPECT_EQ(w().Row(0), L"new0");
    EXPECT_EQ(w().Row(56), L"new56");
    EXPECT_EQ(w().Row(57), L"old57");
    EXPECT_EQ(w().Row(70), L"old70");
}

TEST_F(LocationFiles, AGridLongerThanTheGridStopsAtItsLastRow) {
    std::wstring text;
    for (int r = 0; r < 150; ++r) text += L"r" + std::to_wstring(r) + L"\n";
    Put("big.map", text);
    w().LoadMapRows(Current("big.map"));
    EXPECT_EQ(w().Row(100), L"r100");
}

TEST_F(LocationFiles, TheLocationTableKeepsItsRecordCount) {
    w().LocCount = -1;
    ASSERT_TRUE(w().SaveCoords());
    EXPECT_EQ(Bytes("N1.crd"), "");
    w().LoadCoords(Current("N1.crd"));
    EXPECT_EQ(w().LocCount, -1);

    for (int i = 0; i < 40; ++i) w().addLocation(i, 1, L"N2", i, 3);
    EXPECT_EQ(w().LocCount, 30);
    ASSERT_TRUE(w().SaveCoords());
    w().LoadCoords(Current("N1.crd"));
    EXPECT_EQ(w().LocCount, 30);
    EXPECT_EQ(w().Record(30).X.ToNumber(), 30);
}

TEST_F(LocationFiles, ATableLongerThanTheTableKeepsItsFirst31Records) {
    std::wstring text;
    for (int i = 0; i < 40; ++i) text += std::to_wstring(i) + L"\n1\nN2\n0\n0\n";
    text += L"99\n98\n";  // a torn record at the end
    Put("N1.crd", text);
    w().LoadCoords(Current("N1.crd"));
    EXPECT_EQ(w().LocCount, 30);
    EXPECT_EQ(w().Record(30).X.ToNumber(), 30);

    Put("N1.crd", L"1\n2\nN2\n0\n0\n7\n8\n");
    w().LoadCoords(Current("N1.crd"));
    EXPECT_EQ(w().LocCount, 0);
}

TEST_F(LocationFiles, KilledCharactersStayDead) {
    npcs().Add()->NPCName = L"Волк";
    ASSERT_TRUE(w().SaveChars());
    npcs().Clear();  // the last one was killed
    ASSERT_TRUE(w().SaveChars());
    EXPECT_EQ(Bytes("N1.lst"), "");
    npcs().Add()->NPCName = L"leftover";
    w().LoadChar(Current("N1.lst"));
    EXPECT_EQ(npcs().Count(), 0);
}

TEST_F(LocationFiles, CharacterReadingStopsAtTheFirstBadRecordAndKeepsTheOnesBefore) {
    Put("N1.lst",
        L"\"Один\",5,\"1\",0,\"к\",1,1,1,\"\",\"\",\"\",#FALSE#\n"
        L"\"Два\",5,\"2\",0,\"к\",2,2,1,\"\",\"\",\"\",\"#TRUE#\"\n"
        L"\"Три\",5,\"3\",0,\"к\",3,3,1,\"\",\"\",\"\",#TRUE#\n");
    w().LoadChar(Current("N1.lst"));
    ASSERT_EQ(npcs().Count(), 1);
    EXPECT_EQ(npcs().Item(1)->NPCName, L"Один");

    Put("N1.lst", L"\"Один\",5,\"1\",0,\"к\",1,1,1,\"\",\"\",\"\",#FALSE#\n\"Обрыв\",5,\"2\"");
    w().LoadChar(Current("N1.lst"));
    EXPECT_EQ(npcs().Count(), 1);

    // A position beyond a Single's range saturates rather than spoiling the record.
    Put("N1.lst", L"\"Далеко\",5,\"1\",0,\"к\",1e300,1,1,\"\",\"\",\"\",#FALSE#\n");
    w().LoadChar(Current("N1.lst"));
    ASSERT_EQ(npcs().Count(), 1);
    EXPECT_EQ(npcs().Item(1)->X, FLT_MAX);

    Put("N1.lst", L"\"Сильный\",abc,\"1\",0,\"к\",1,1,1,\"\",\"\",\"\",#FALSE#\n");
    w().LoadChar(Current("N1.lst"));
    EXPECT_EQ(npcs().Count(), 0);
}

TEST_F(LocationFiles, ItemReadingStopsAtTheFirstBadRecord) {
    Put("N1.itm",
        L"1,2,\"Хлеб\",4,\"\",0.5,0,0,0,\"\",0,\"\"\n"
        L"1,2,\"Сыр\",еда,\"\",0.5,0,0,0,\"\",0,\"\"\n"
        L"1,2,\"Мёд\",4,\"\",0.5,0,0,0,\"\",0,\"\"\n");
    w().LoadItems(Current("N1.itm"));
    ASSERT_EQ(floor().Count(), 1);
    EXPECT_EQ(floor().Item(1)->ItemName, L"Хлеб");
    EXPECT_EQ(modVarsAndMain.CurItem, floor().Item(1));
}

TEST_F(LocationFiles, AMissingLocationIsNotEnteredAtAll) {
    w().SetRow(3, L"here");
    npcs().Add()->NPCName = L"Сосед";
    floor().Add()->ItemName = L"Ложка";
    Put("N2.map", L"GG\n");
    Put("N2.tle", L" 0\n");
    for (const wchar_t* id : {L"N2", L"N3", L"..\\N1", L"", L"a/b"}) {
        EXPECT_FALSE(LocationFilesExist(id));
        w().WorldName = id;
        EXPECT_FALSE(w().Load_World());
    }
    EXPECT_EQ(w().Row(3), L"here");
    EXPECT_EQ(npcs().Count(), 1);
    EXPECT_EQ(floor().Count(), 1);

    Put("N2.crd", L"");
    EXPECT_TRUE(LocationFilesExist(L"n2"));  // file names are matched without regard to case
}

TEST_F(LocationFiles, MissingCharacterAndItemFilesGiveAnEmptyLocation) {
    npcs().Add();
    floor().Add();
    Put("N1.map", L"GG\n");
    Put("N1.crd", L"");
    Put("N1.tle", L" 2\n");
    EXPECT_TRUE(w().Load_World());
    EXPECT_EQ(npcs().Count(), 0);
    EXPECT_EQ(floor().Count(), 0);
    EXPECT_EQ(w().MapType, 2);
}

TEST_F(LocationFiles, LoadingSetsDarknessAndForgetsSearchedPlaces) {
    modVarsAndMain.Darkness = true;
    modVarsAndMain.SearchedPlaces.push_back({4, 5, 1});
    SaveLocation();
    EXPECT_TRUE(w().Load_World());
    EXPECT_FALSE(modVarsAndMain.Darkness);
    EXPECT_TRUE(modVarsAndMain.SearchedPlaces.empty());

    w().WorldName = L"sword";
    SaveLocation();
    EXPECT_TRUE(w().Load_World());
    EXPECT_TRUE(modVarsAndMain.Darkness);
}

TEST_F(LocationFiles, ALocationIdThatIsNoPlainNameWritesNothing) {
    w().WorldName = L"..\\escape";
    EXPECT_FALSE(w().SaveMap());
    EXPECT_FALSE(w().SaveChars());
    EXPECT_FALSE(w().SaveItems());
    EXPECT_FALSE(w().SaveCoords());
    EXPECT_FALSE(fs::exists(folder.path() / "escape.map"));
}
