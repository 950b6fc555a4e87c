#include "platform/cp1251.h"
#include "test_support.h"
#include "world/save_set.h"

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
