#include <tuple>
#include <gtest/gtest.h>

#include <algorithm>
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

    void SaveLocation() {
        EXPECT_TRUE(w().SaveChars());
        EXPECT_TRUE(w().SaveItems());
        EXPECT_TRUE(w().SaveMap());
        EXPECT_TRUE(w().SaveCoords());
    }
};

}  // namespace

// A location holding one of everything the files can carry is read whole and, written
// again, gives the same bytes.
TEST_F(LocationFiles, ReadAndWrittenBackGivesTheSameLocation) {
    const fs::path golden = fs::path(MORVATH_TEST_DATA) / "location_golden";
    for (const char* name : {"N1.map", "N1.lst", "N1.itm", "N1.crd", "N1.tle"})
        ASSERT_TRUE(WriteFileAtomic(folder.saved(name), *ReadBytes(golden / name)));
    ASSERT_TRUE(LocationFilesExist(L"N1"));
    EXPECT_TRUE(w().Load_World());
    std::wstring seen;
    for (int i = 1; i <= 2; ++i) {
        const NPC& n = *npcs().Item(i);
        for (Variant v : {Variant(n.NPCName), Variant(n.HP), Variant(n.Symbol), Variant(int(n.Tactic)), Variant(n.Weapon),
                          Variant(double(n.X)), Variant(double(n.Y)), Variant(int(n.Strenght)), Variant(n.AIScript_File),
                          Variant(n.DieScript_File), Variant(n.Last_Speech), Variant(n.Good ? 1 : 0)})
            seen += v.ToText() + L"|";
    }
    const Item& it = *floor().Item(1);
    for (Variant v : {Variant(double(it.X)), Variant(double(it.Y)), Variant(it.ItemName), Variant(int(it.ItemType)),
                      Variant(it.ItemInfo), Variant(it.Weight), Variant(int(it.WeaponPlus)), Variant(int(it.DefendPlus)),
                      Variant(int(it.itembalance)), Variant(it.ItemScript), Variant(int(it.Critical)), Variant(it.SkillPlus),
                      Variant(int(it.ItemCount)), Variant(floor().Item(2)->ItemName), Variant(w().Row(1))})
        seen += v.ToText() + L"|";
    EXPECT_EQ(seen, L"Стражник|12.25|S|3|М|20.5|7|6|guard.tai|guard.die|Проходи, путник, не задерживайся|1|"
                    L"Паук|3|©|1|к|0.100000001490116|-2|0||spider.die||0|"
                    L"20.5|0.100000001490116|Меч|1|Старый, ржавый|2.5|5|-1|-1|sword.scr|30|St+02|0|Камень|GG©Њп'#|");
    // The table's target is read back as text, written without blanks.
    EXPECT_EQ(std::tuple(modVarsAndMain.CurNPC == npcs().Item(2), int(w().LocCount), int(w().MapType),
                         w().Record(0).TargetY.ToNumber(), w().Record(1).TargetY.ToText()),
              std::tuple(true, 2, 4, 12.0, std::wstring(L"trap.scr")));
    SaveLocation();
    for (const char* name : {"N1.map", "N1.lst", "N1.itm", "N1.tle"}) EXPECT_EQ(Bytes(name), *ReadBytes(golden / name)) << name;
}

TEST_F(LocationFiles, AQuoteInATextCannotBreakTheRecordsAfterIt) {
    npcs().Add()->Last_Speech = L"Он сказал \"прочь\", и ушёл";
    npcs().Add()->NPCName = L"Второй";
    ASSERT_TRUE(w().SaveChars());
    w().LoadChar(Current("N1.lst"));
    ASSERT_EQ(npcs().Count(), 2);
    EXPECT_EQ(npcs().Item(1)->Last_Speech + L"|" + npcs().Item(2)->NPCName, L"Он сказал 'прочь', и ушёл|Второй");
}

// Without character and item files the location is empty; the painter kind may have a blank before it.
TEST_F(LocationFiles, AMapTableAndPainterKindAloneMakeALocation) {
    npcs().Add();
    floor().Add();
    Put("N1.map", L"GGG\n");
    Put("N1.crd", L"");
    Put("N1.tle", L" 4\n#This is a TileSet type file.Do not remove this Line!\n");
    EXPECT_TRUE(w().Load_World());
    EXPECT_EQ(std::tuple(npcs().Count(), floor().Count(), int(w().MapType), int(w().LocCount)), std::tuple(0, 0, 4, -1));
}

// A shorter grid leaves the rows below it in place; a longer one stops at the grid's last row.
TEST_F(LocationFiles, AGridFileFillsTheRowsItHas) {
    for (auto [rows, expected] : {std::pair{150, L"r0r1r2r70r100"}, std::pair{2, L"r0r1old2old70old100"}}) {
        for (int r = 0; r <= 100; ++r) w().SetRow(r, L"old" + std::to_wstring(r));
        std::wstring text;
        for (int r = 0; r < rows; ++r) text += L"r" + std::to_wstring(r) + L"\n";
        Put("D1.map", text);
        w().LoadMapRows(Current("D1.map"));
        EXPECT_EQ(w().Row(0) + w().Row(1) + w().Row(2) + w().Row(70) + w().Row(100), expected) << rows;
    }
}

// The table holds 31 records at most and drops a torn record at the end.
TEST_F(LocationFiles, TheLocationTableKeepsItsRecordCount) {
    std::wstring many;
    for (int i = 0; i < 40; ++i) many += std::to_wstring(i) + L"\n1\nN2\n0\n0\n";
    for (auto [text, count] : {std::pair{many + L"99\n98\n", 30}, std::pair{std::wstring(L"1\n2\nN2\n0\n0\n7\n8\n"), 0}}) {
        Put("N1.crd", text);
        w().LoadCoords(Current("N1.crd"));
        EXPECT_EQ(std::tuple(int(w().LocCount), w().Record(count).X.ToNumber()), std::tuple(count, double(count ? 30 : 1)));
    }
    w().LocCount = -1;
    ASSERT_TRUE(w().SaveCoords());
    EXPECT_EQ(Bytes("N1.crd"), "");
    w().LoadCoords(Current("N1.crd"));
    EXPECT_EQ(w().LocCount, -1);
    for (int i = 0; i < 40; ++i) w().addLocation(i, 1, L"N2", i, 3);
    ASSERT_TRUE(w().SaveCoords());
    EXPECT_EQ(Bytes("N1.crd").substr(0, 36), "0\r\n1\r\nN2\r\n0\r\n 3 \r\n1\r\n1\r\nN2\r\n1\r\n 3 \r\n");
    w().LocCount = 0;
    w().LoadCoords(Current("N1.crd"));
    EXPECT_EQ(std::tuple(int(w().LocCount), w().Record(30).X.ToNumber()), std::tuple(30, 30.0));
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

// Reading stops at the first bad record and keeps the ones before it; a position beyond a
// Single's range saturates rather than spoiling the record.
TEST_F(LocationFiles, CharacterReadingStopsAtTheFirstBadRecord) {
    const std::wstring one = L"\"Один\",5,\"1\",0,\"к\",1,1,1,\"\",\"\",\"\",#FALSE#\n";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {one + L"\"Два\",5,\"2\",0,\"к\",2,2,1,\"\",\"\",\"\",\"#TRUE#\"\n\"Три\",5,\"3\",0,\"к\",3,3,1,\"\",\"\",\"\",#TRUE#\n",
         L"Один 1 |"},
        {one + L"\"Обрыв\",5,\"2\"", L"Один 1 |"},
        {L"\"Далеко\",5,\"1\",0,\"к\",1e300,1,1,\"\",\"\",\"\",#FALSE#\n", L"Далеко max |"},
        {L"\"Сильный\",abc,\"1\",0,\"к\",1,1,1,\"\",\"\",\"\",#FALSE#\n", L""},
    };
    for (const auto& [text, expected] : cases) {
        Put("N1.lst", text);
        w().LoadChar(Current("N1.lst"));
        std::wstring seen;
        for (int i = 1; i <= npcs().Count(); ++i) {
            const auto& n = *npcs().Item(i);
            seen += n.NPCName + L" " + (n.X == FLT_MAX ? L"max" : std::to_wstring(int(n.X))) + L" |";
        }
        EXPECT_EQ(seen, expected);
    }
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
    EXPECT_EQ(std::tuple(w().Row(3), npcs().Count(), floor().Count()), std::tuple(std::wstring(L"here"), 1, 1));
    Put("N2.crd", L"");
    EXPECT_TRUE(LocationFilesExist(L"n2"));  // file names are matched without regard to case
}

TEST_F(LocationFiles, LoadingSetsDarknessAndForgetsSearchedPlaces) {
    modVarsAndMain.Darkness = true;
    modVarsAndMain.SearchedPlaces.push_back({4, 5, 1});
    SaveLocation();
    EXPECT_TRUE(w().Load_World());
    EXPECT_EQ(std::tuple(modVarsAndMain.Darkness, modVarsAndMain.SearchedPlaces.empty()), std::tuple(false, true));
    w().WorldName = L"sword";
    SaveLocation();
    EXPECT_TRUE(w().Load_World());
    EXPECT_TRUE(modVarsAndMain.Darkness);
}

TEST_F(LocationFiles, ALocationIdThatIsNoPlainNameWritesNothing) {
    w().WorldName = L"..\\escape";
    EXPECT_EQ(std::tuple(w().SaveMap(), w().SaveChars(), w().SaveItems(), w().SaveCoords()), std::tuple(false, false, false, false));
    EXPECT_FALSE(fs::exists(folder.path() / "escape.map"));
}
