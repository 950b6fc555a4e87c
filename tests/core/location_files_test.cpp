#include <cfloat>

#include "platform/cp1251.h"
#include "test_support.h"
#include "world/save_set.h"
#include "world/turn.h"

using namespace morvath;

namespace {

using WorldModel = GameTest;

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
};

}  // namespace

// A location holding one of everything the files can carry is read whole and, written
// again, gives the same bytes. A quote in a text cannot break the records after it.
TEST_F(LocationFiles, ReadAndWrittenBackGivesTheSameLocation) {
    const fs::path golden = fs::path(MORVATH_TEST_DATA) / "location_golden";
    for (const char* name : {"N1.map", "N1.lst", "N1.itm", "N1.crd", "N1.tle"})
        ASSERT_TRUE(WriteFileAtomic(folder.saved(name), *ReadBytes(golden / name)));
    ASSERT_TRUE(LocationFilesExist(L"N1") && w().Load_World());
    std::wstring seen;
    for (const auto& n : npcs())
        for (Variant v : {Variant(n->NPCName), Variant(n->HP), Variant(n->Symbol), Variant(int(n->Tactic)), Variant(n->Weapon),
                          Variant(double(n->X)), Variant(double(n->Y)), Variant(int(n->Strenght)), Variant(n->AIScript_File),
                          Variant(n->DieScript_File), Variant(n->Last_Speech), Variant(n->Good ? 1 : 0)})
            seen += v.ToText() + L"|";
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
    EXPECT_TRUE(w().SaveChars() && w().SaveItems() && w().SaveMap() && w().SaveCoords());
    for (const char* name : {"N1.map", "N1.lst", "N1.itm", "N1.tle"}) EXPECT_EQ(ReadBytes(Current(name)), ReadBytes(golden / name)) << name;
    npcs().Item(1)->Last_Speech = L"Он сказал \"прочь\", и ушёл";
    ASSERT_TRUE(w().SaveChars());
    w().LoadChar(Current("N1.lst"));
    EXPECT_EQ(std::tuple(npcs().Count(), npcs().Item(1)->Last_Speech, npcs().Item(npcs().Count())->NPCName),
              std::tuple(2, L"Он сказал 'прочь', и ушёл", L"Паук"));
}

// A location is entered only when all of its files are there under a plain name (matched
// without regard to case), and nothing is written under any other. Without character and
// item files it is empty; the painter kind may have a blank before it; a shorter grid leaves
// the rows below it in place.
TEST_F(LocationFiles, AMapTableAndPainterKindAloneMakeALocation) {
    w().SetRow(3, L"here");
    npcs().Add();
    floor().Add();
    Put("N1.map", L"GGG\n");
    Put("N1.tle", L" 4\n#This is a TileSet type file.Do not remove this Line!\n");
    for (const wchar_t* id : {L"N1", L"N3", L"..\\N1", L"", L"a/b"}) {
        w().WorldName = id;
        EXPECT_FALSE(LocationFilesExist(id) || w().Load_World() ||
                     (id[0] != L'N' && (w().SaveMap() || w().SaveChars() || w().SaveItems() || w().SaveCoords())))
            << ToUtf8(id);
    }
    EXPECT_EQ(std::pair(npcs().Count(), floor().Count()), std::pair(1L, 1L));
    Put("N1.crd", L"");
    w().WorldName = L"n1";
    EXPECT_TRUE(w().Load_World());
    EXPECT_EQ(std::tuple(w().Row(0), w().Row(3), npcs().Count(), floor().Count(), int(w().MapType), int(w().LocCount)),
              std::tuple(L"GGG", L"here", 0, 0, 4, -1));
}

// The table drops a torn record at its end, takes no second record for a cell, and holds 31
// records at most (the fuzz corpus brings longer tables); clearing it keeps the count.
TEST_F(LocationFiles, TheLocationTableKeepsItsRecordCount) {
    Put("N1.crd", L"1\n2\nN2\n0\n0\n7\n8\n");
    w().LoadCoords(Current("N1.crd"));
    w().addLocation(1, 2, L"N3", 0, 0);  // that cell has its record
    EXPECT_EQ(std::tuple(int(w().LocCount), w().Record(0).X.ToNumber(), w().Record(0).Target.ToText()), std::tuple(0, 1.0, L"N2"));
    for (int i = 0; i < 40; ++i) w().addLocation(i, 1, L"N2", i, 3);
    ASSERT_TRUE(w().SaveCoords());
    w().LoadCoords(Current("N1.crd"));
    EXPECT_EQ(std::tuple(int(w().LocCount), w().Record(30).X.ToNumber()), std::tuple(30, 29.0));
    w().ClearLocations();  // keeps the count
    EXPECT_EQ(std::tuple(int(w().LocCount), w().Record(30).Target.ToText()), std::tuple(30, L""));
}

// Reading stops at the first bad record and keeps the ones before it; a position beyond a
// Single's range saturates rather than spoiling the record.
TEST_F(LocationFiles, ReadingStopsAtTheFirstBadRecord) {
    const std::wstring one = L"\"Один\",5,\"1\",0,\"к\",1,1,1,\"\",\"\",\"\",#FALSE#\n";
    const std::pair<const char*, std::wstring> cases[] = {
        {"N1.lst", one + L"\"Два\",5,\"2\",0,\"к\",2,2,1,\"\",\"\",\"\",\"#TRUE#\"\n\"Три\",5,\"3\",0,\"к\",3,3,1,\"\",\"\",\"\",#TRUE#\n"},
        {"N1.lst", one + L"\"Обрыв\",5,\"2\",0,\"к\",2,2,1,\"\",\"\",\"\","},
        {"N1.lst", L"\"Далеко\",5,\"1\",0,\"к\",1e300,1,1,\"\",\"\",\"\",#FALSE#\n"},
        {"N1.lst", L"\"Сильный\",abc,\"1\",0,\"к\",1,1,1,\"\",\"\",\"\",#FALSE#\n"},
        {"N1.itm", L"1,2,\"Хлеб\",4,\"\",0.5,0,0,0,\"\",0,\"\"\n1,2,\"Сыр\",еда,\"\",0.5,0,0,0,\"\",0,\"\"\n"
                   L"1,2,\"Мёд\",4,\"\",0.5,0,0,0,\"\",0,\"\"\n"},
    };
    std::wstring seen;
    for (const auto& [file, text] : cases) {
        Put(file, text);
        file[3] == 'l' ? w().LoadChar(Current(file)) : w().LoadItems(Current(file));
        for (const auto& n : npcs()) seen += n->NPCName + L" " + (n->X == FLT_MAX ? L"max" : std::to_wstring(int(n->X))) + L",";
        for (const auto& it : floor()) seen += it->ItemName + (modVarsAndMain.CurItem == it ? L"*," : L",");
        seen += L"|";
    }
    EXPECT_EQ(seen, L"Один 1,|Один 1,|Далеко max,||Хлеб*,|");
}

TEST_F(WorldModel, GetPosMapIsColumnFirstAndEmptyPastTheRowOrGrid) {
    w().SetRow(3, L"abc");
    std::wstring seen;
    for (auto [col, row] : {std::pair{1, 3}, {3, 3}, {4, 3}, {0, 3}, {1, -1}, {1, 101}, {1, 100}}) seen += w().GetPosMap(col, row) + L"|";
    w().setPosMap(3, 2, L"XY");  // row first
    w().setPosMap2(3, 3, L"Z");
    w().SetRow(0, L"GG");
    w().SetRow(100, L"GG");
    for (auto [row, col] : {std::pair{0, 3}, {0, 0}, {-1, 1}, {101, 1}, {100, 2}, {0, 1}}) w().setPosMap(row, col, col == 1 && row == 0 ? L"" : L"X");
    EXPECT_EQ(seen + w().Row(3) + L"|" + w().Row(0) + L"|" + w().Row(100), L"a|c||||||aXZ|GG|GX");
}

// The ground is rows 0..40 of 61 (51 inside the border); its four exits are doors in paths
// through the border, and lead back to where the hero stood on the wilderness map.
TEST_F(WorldModel, FillBordersLaysOutAnEmptyGroundAndStandardExitsLeadBackToTheWilderness) {
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(30, 12);
    w().SetRow(41, L"keep");
    w().FillBorders(L"Њ");
    w().AddStandartLocations();
    std::wstring cells;
    for (auto [col, row] : {std::pair{7, 6}, {6, 6}, {45, 35}, {46, 35}, {20, 5}, {6, 14}, {1, 14}, {20, 36}, {20, 40}, {46, 17}, {50, 17}})
        cells += w().GetPosMap(col, row);
    const auto& r0 = w().Record(0);
    EXPECT_EQ(std::tuple(w().Row(0).size(), w().Row(6).size(), w().Row(40).size(), w().Row(41), int(w().LocCount), cells),
              std::tuple(61u, 51u, 61u, std::wstring(L"keep"), 3, std::wstring(L"GЊGЊ++G+G+G")));
    EXPECT_EQ(std::tuple(r0.X.ToNumber(), r0.Y.ToNumber(), r0.Target.ToText(), r0.TargetX.ToNumber(), r0.TargetY.ToNumber(),
                         w().Record(3).X.ToNumber(), w().Record(3).Y.ToNumber()),
              std::tuple(17.0, 2.0, std::wstring(L"wild"), 30.0, 12.0, 43.0, 14.0));
}
