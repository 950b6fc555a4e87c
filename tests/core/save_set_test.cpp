// The save set and the location files: read whole, written back to the same bytes, and told
// apart when missing or damaged.
#include <cfloat>

#include "test_support.h"
#include "world/save_set.h"
#include "world/turn.h"

using namespace morvath;

namespace {

struct SaveSet : GameTest {
    // The start menu's load: new roots, then the loader.
    bool Load() {
        modVarsAndMain.CreateRoots();
        return LoadGame();
    }
    void Copy(const char* set) {
        for (const auto& e : fs::directory_iterator(fs::path(MORVATH_TEST_DATA) / set))
            if (e.path().filename() != ".gitattributes") fs::copy_file(e.path(), folder.saved(e.path().filename().string()));
    }
};

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

// The golden save set loads into every value and, saved again, gives the same bytes.
TEST_F(SaveSet, SaveAndLoadGiveBackEveryValue) {
    Copy("save_golden");
    modVarsAndMain.FacingDir = 3;  // the caller's to set
    ASSERT_TRUE(Load());
    auto& g = modVarsAndMain;
    auto& c = *g.Player;
    std::wstring seen;
    for (Variant v : {Variant(c.PlayerName), Variant(int(c.Profession)), Variant(c.Luck), Variant(c.Doom),
                      Variant(c.HardIness), Variant(int(c.Hungry)), Variant(c.HeroeWeight), Variant(double(g.Money)),
                      Variant(int(g.PlayerX)), Variant(int(g.ResurrectionsLeft)), Variant(g.NightKnown ? 1 : 0),
                      Variant(int(g.QuestFlags[0])), Variant(int(g.QuestFlags[49])), g.Skills[1][2], g.Skills[20][0],
                      g.Equip[kSlotRightHand][2], g.Equip[kSlotBody][7], Variant(g.Inventory->Item(1)->SkillPlus),
                      Variant(int(g.Inventory->Item(1)->ItemCount)), Variant(int(g.TheWorld->Turn)),
                      Variant(int(g.TheWorld->Day)), Variant(int(g.TheWorld->InfLevel)), Variant(g.NPCs->Item(1)->NPCName)})
        seen += v.ToText() + L"|";
    EXPECT_EQ(seen, L"Ратибор, \"Смелый\"|4|-3|-1.25|2.30000000000001|150|72.5|70000|12|2|1|-20|127|Мясо волка, Мясо "
                         L"медведя|Умение 20|Старый, 'ржавый'|8|De+03|2|420|3|4|Паук|");
    // Derived again from the worn sword and mail; the weight is 70 coins, three shields, the
    // bread and the worn sword and mail.
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox"), int(g.FacingDir), h().Weapon, h().Critical, h().Defence,
                         g.Skills[20][2] == Variant(), int(h().TiredConst), h().Weight),
              std::tuple(0, 3, 6.0, 0.5, 4.0, true, 9, 70 + 12 + 0 + 2.5 + 8));
    EXPECT_DOUBLE_EQ(h().MConst, 3 / 100.0 + 1.5 / 50);
    for (const auto& e : fs::directory_iterator(folder.path() / "saved")) fs::remove(e.path());
    ASSERT_TRUE(SaveGame());
    // The location's table comes back as text and its map carries the characters drawn onto it.
    for (const char* name : {"char.ch", "char.itm", "inven", "q.q", "attribs", "AG.lst", "AG.itm", "AG.tle"})
        EXPECT_EQ(ReadBytes(folder.saved(name)), ReadBytes(fs::path(MORVATH_TEST_DATA) / "save_golden" / name)) << name;
}
TEST_F(SaveSet, ACarriedNothingAndAnEmptyLocationLoad) {
    w().WorldName = L"N1";
    h().PlayerName = L"Пустой";
    ASSERT_TRUE(SaveGame());
    EXPECT_EQ(ReadBytes(folder.saved("char.itm")).value_or("x") + ReadBytes(folder.saved("N1.lst")).value_or("x"), "");
    ResetGame();
    ASSERT_TRUE(Load());
    EXPECT_EQ(std::tuple(modVarsAndMain.Inventory->Count(), h().PlayerName, int(modVarsAndMain.LastSkillIndex)),
              std::tuple(0, std::wstring(L"Пустой"), 0));
}

TEST_F(SaveSet, AnOldSaveStillLoads) {
    Copy("old_save");
    // An empty truth value reads as false.
    std::string hero = *ReadBytes(folder.saved("char.ch"));
    hero.replace(hero.find("False\r\n"), 5, "");
    ASSERT_TRUE(WriteFileAtomic(folder.saved("char.ch"), hero));
    modVarsAndMain.Darkness = true;
    modVarsAndMain.Skills[15][0] = Variant(L"из прошлой игры");
    modVarsAndMain.Inventory.reset();  // a root missing: the loader makes them all afresh
    ASSERT_TRUE(LoadGame());
    // Empty cells stay empty (the skills are the files' alone), an empty text stays a text.
    // Derived again: the sword's strike and critical, the carried weight, the monk's mana.
    EXPECT_EQ(std::tuple(modVarsAndMain.Darkness, modVarsAndMain.Skills[11][0].IsEmpty() && modVarsAndMain.Skills[15][0].IsEmpty(),
                         modVarsAndMain.Equip[kSlotHead][kEqName].IsEmpty(),
                         modVarsAndMain.Equip[kSlotLeftHand][kEqName] == Variant(L""), h().Weapon, h().Critical, h().Weight),
              std::tuple(false, true, true, true, 6.0, 0.5, 0.25 + 3 * 0.5 + 4 + 2.5));
    EXPECT_DOUBLE_EQ(h().MConst, 3 / 70.0 + 1.5 / 25);
    // Every value read, as today's save writes it.
    ASSERT_TRUE(SaveGame());
    for (const char* name : {"char.ch", "char.itm", "inven", "q.q", "attribs", "N1.map", "N1.lst", "N1.crd", "N1.itm", "N1.tle"})
        EXPECT_EQ(ReadBytes(folder.saved(name)), ReadBytes(fs::path(MORVATH_TEST_DATA) / "old_save_resaved" / name)) << name;
}

// No hero's file is no save; any other file missing or unreadable is a damaged save, named.
TEST_F(SaveSet, AMissingSaveAndADamagedOneAreToldApart) {
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"*", "<remove>", nullptr},       {"char.itm", "<remove>", "char.itm"}, {"char.itm", " 0 \r\n 0 \r\nhalf an item\r\n", "char.itm"},
        {"char.ch", "<remove>", nullptr}, {"char.ch", "name\r\n 2 \r\n", "char.ch"},
        {"char.ch", std::string("name\r\nmonk\r\n") + std::string(40, '\n'), "char.ch"},
        {"q.q", " 1 \r\n 2 \r\n", "q.q"}, {"attribs", "<remove>", "attribs"},  {"inven", "\"a\",1\r\n", "inven"},
        {"N1.crd", "<remove>", "N1.crd"}, {"N1.tle", "<remove>", "N1.tle"},
    };
    for (const auto& [file, bytes, named] : cases) {
        for (const auto& e : fs::directory_iterator(folder.path() / "saved")) fs::remove(e.path());
        if (std::string(file) != "*") Copy("old_save");
        if (bytes == "<remove>") fs::remove(folder.saved(file));
        else ASSERT_TRUE(WriteFileAtomic(folder.saved(file), bytes));
        ui.log.clear();
        const std::wstring told = named ? L"Сохранение повреждено: не удалось прочитать файл " + FromUtf8(named) + L". Файлы сохранения не тронуты."
                                        : L"Сохранений нет....";
        EXPECT_EQ((std::pair{Load(), ui.log}), std::pair(false, std::vector<std::wstring>{L"MsgBox|Morvath|" + told})) << file;
    }
    // A commit record that is not whole is said to be so, and the save before it loads.
    for (const auto& e : fs::directory_iterator(folder.path() / "saved")) fs::remove(e.path());
    Copy("old_save");
    ASSERT_TRUE(WriteFileAtomic(folder.saved(".commit"), "morvath commit 1\nq.q"));
    ui.log.clear();
    EXPECT_EQ((std::pair{Load(), ui.log}), std::pair(true, std::vector<std::wstring>{L"MsgBox|Morvath|Запись о последнем сохранении повреждена. Оставлено предыдущее сохранение."}));
}

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
        {"N1.lst", L"\"Далеко\",5,\"1\",0,\"к\",1e300,1,1,\"\",\"\",\"\",0\n"},  // a number is a truth value too
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
    EXPECT_EQ(seen + w().Row(3) + L"|" + w().Row(0) + L"|" + w().Row(100) + L"|" + w().GetPosMap(2, 0), L"a|c||||||aXZ|GG|GX|G");
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
