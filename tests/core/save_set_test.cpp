#include <map>

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
    void CopyOldSave() {
        for (const auto& e : fs::directory_iterator(fs::path(MORVATH_TEST_DATA) / "old_save")) {
            if (e.path().filename() != ".gitattributes") fs::copy_file(e.path(), folder.saved(e.path().filename().string()));
        }
    }

    // A game with a value in every field the save set keeps.
    void FillGame() {
        auto& g = modVarsAndMain;
        auto& c = h();
        c.PlayerName = L"Ратибор, \"Смелый\"";
        c.Profession = kHunter;
        c.BeginMaxWeight = 15;
        c.Luck = -3;
        c.Appearance = 3.5;
        c.Constitution = 4;
        c.Alertness = 6;
        c.Doom = -1.25;
        c.Exp = 3;
        c.WillPower = 8.2;
        c.HardIness = 2.30000000000001;
        c.Level = 2;
        c.Mana = 7.5;
        c.MaxHp = 20;
        c.MaxWeight = 30;
        c.Mobility = 5.5;
        c.Science = 3;
        c.Strenght = 4.75;
        c.Learning = 5;
        c.Magic = 1.5;
        c.Sick = 1;
        c.Poison = 2;
        c.Hungry = 150;
        c.HP = 14;
        c.dMonsters = 17;
        c.HeroeWeight = 72.5;
        g.PlayerX = 12;
        g.PlayerY = 9;
        g.Money = 70000;
        g.CutSpellKnown = true;
        g.FireballKnown = true;
        g.HealingKnown = true;
        g.NightKnown = true;
        g.ReturnX = 40;
        g.ReturnY = 41;
        g.ResurrectionsLeft = 2;
        for (int i = 0; i < 50; ++i) g.QuestFlags[i] = i * 3 - 20;
        for (int r = 0; r <= 20; ++r) {
            g.Skills[r][0] = Variant(L"Умение " + std::to_wstring(r));
            g.Skills[r][1] = r;
            g.Skills[r][2] = Variant(r % 2 ? L"Мясо волка, Мясо медведя" : L"");
        }
        g.Skills[20][2] = Variant();
        g.LastSkillIndex = 20;
        g.Equip[kSlotRightHand] = {Variant(L"Меч"), 1, Variant(L"Старый, \"ржавый\""), -1, Variant(L"sword.scr"),
                                   5, 0, 2.5, 30, Variant(L"St+02")};
        g.Equip[kSlotBody] = {Variant(L"Кольчуга"), 14, Variant(L""), 0, Variant(L""), 0, 4, 8.0, 0, Variant(L"")};
        auto a = g.Inventory->Add();
        a->DefendPlus = 3;
        a->itembalance = -1;
        a->ItemInfo = L"Проклятый, но крепкий";
        a->ItemName = L"Щит";
        a->ItemScript = L"shield.scr";
        a->ItemType = 2;
        a->ItemCount = 2;
        a->WeaponPlus = 1;
        a->Weight = 4;
        a->X = 20.5f;
        a->Y = 0.1f;
        a->Critical = 5;
        a->SkillPlus = L"De+03";
        g.Inventory->Add()->ItemName = L"Хлеб";
        w().WorldName = L"AG";
        w().Day = 3;
        w().Turn = 420;
        w().InfLevel = 4;
        w().MapType = 4;
        for (int r = 0; r <= 70; ++r) w().SetRow(r, L"aaGGGGGGGG9Gaa");
        w().LocCount = -1;
        w().addLocation(7, 3, L"AG", 48, 48);
        auto n = g.NPCs->Add();
        n->NPCName = L"Паук";
        n->Symbol = L"©";
        n->HP = 3.5;
        n->X = 8;
        n->Y = 6;
        w().mapItemCol->Add()->ItemName = L"Кольцо возрождения";
        c.Weapon = 6;  // what the worn sword gives
        c.Defence = 4;
        c.Critical = 0.5;
    }
};

}  // namespace

// Every value of a filled game is written as the golden files hold it, and comes back:
// saved again after a load, the hero's files are the same bytes.
TEST_F(SaveSet, SaveAndLoadGiveBackEveryValue) {
    FillGame();
    ASSERT_TRUE(SaveGame());
    const fs::path golden = fs::path(MORVATH_TEST_DATA) / "save_golden";
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(folder.path() / "saved"))
        if (e.is_regular_file()) files[e.path().filename().string()] = *ReadBytes(e.path());
    ASSERT_EQ(files.size(), 10u);
    for (const auto& [name, bytes] : files) EXPECT_EQ(bytes, ReadBytes(golden / name).value_or("missing")) << name;
    ResetGame();
    modVarsAndMain.FacingDir = 3;
    ASSERT_TRUE(Load());
    EXPECT_EQ(ui.Count(L"MsgBox"), 0);
    EXPECT_EQ(modVarsAndMain.FacingDir, 3);  // the caller's to set
    // Derived again from the worn sword.
    EXPECT_EQ(h().Weapon, 6);
    EXPECT_EQ(h().Critical, 0.5);
    EXPECT_EQ(h().Defence, 4);
    EXPECT_EQ(modVarsAndMain.Skills[20][2], Variant());
    // The hero's files (the location's carry the characters drawn onto the map).
    ASSERT_TRUE(SaveGame());
    for (const char* name : {"char.ch", "char.itm", "inven", "q.q", "attribs"}) EXPECT_EQ(ReadBytes(folder.saved(name)), files[name]) << name;
}

TEST_F(SaveSet, LoadingDerivesWhatTheFilesDoNotHold) {
    FillGame();
    ASSERT_TRUE(SaveGame());
    ResetGame();
    ASSERT_TRUE(Load());
    // 70 coins, three shields, the bread and the worn sword and mail.
    EXPECT_DOUBLE_EQ(h().Weight, 70 + 12 + 0 + 2.5 + 8);
    EXPECT_EQ(h().TiredConst, 9);
    EXPECT_DOUBLE_EQ(h().MConst, 3 / 100.0 + 1.5 / 50);
}

TEST_F(SaveSet, ACarriedNothingAndAnEmptyLocationLoad) {
    w().WorldName = L"N1";
    h().PlayerName = L"Пустой";
    ASSERT_TRUE(SaveGame());
    EXPECT_EQ(ReadBytes(folder.saved("char.itm")).value_or("x"), "");
    EXPECT_EQ(ReadBytes(folder.saved("N1.lst")).value_or("x"), "");
    ResetGame();
    ASSERT_TRUE(Load());
    EXPECT_EQ(modVarsAndMain.Inventory->Count(), 0);
    EXPECT_EQ(h().PlayerName, L"Пустой");
    EXPECT_EQ(modVarsAndMain.LastSkillIndex, 0);
}

TEST_F(SaveSet, AnOldSaveStillLoads) {
    CopyOldSave();
    // An empty truth value reads as false.
    std::string hero = *ReadBytes(folder.saved("char.ch"));
    hero.replace(hero.find("False\r\n"), 5, "");
    ASSERT_TRUE(WriteFileAtomic(folder.saved("char.ch"), hero));
    modVarsAndMain.Darkness = true;
    ASSERT_TRUE(Load());
    EXPECT_FALSE(modVarsAndMain.Darkness);
    // Empty cells stay empty, an empty text stays a text.
    EXPECT_TRUE(modVarsAndMain.Skills[11][0].IsEmpty());
    EXPECT_TRUE(modVarsAndMain.Equip[kSlotHead][kEqName].IsEmpty());
    EXPECT_EQ(modVarsAndMain.Equip[kSlotLeftHand][kEqName], Variant(L""));
    // Derived again: the sword's strike and critical, the carried weight, the monk's mana.
    EXPECT_EQ(h().Weapon, 6);
    EXPECT_EQ(h().Critical, 0.5);
    EXPECT_DOUBLE_EQ(h().Weight, 0.25 + 3 * 0.5 + 4 + 2.5);
    EXPECT_DOUBLE_EQ(h().MConst, 3 / 70.0 + 1.5 / 25);
    // Every value read, as today's save writes it.
    ASSERT_TRUE(SaveGame());
    for (const char* name : {"char.ch", "char.itm", "inven", "q.q", "attribs", "N1.map", "N1.lst", "N1.crd", "N1.itm", "N1.tle"})
        EXPECT_EQ(ReadBytes(folder.saved(name)), ReadBytes(fs::path(MORVATH_TEST_DATA) / "old_save_resaved" / name)) << name;
}

TEST_F(SaveSet, TheLoadedSkillsTableIsTheFilesAlone) {
    CopyOldSave();
    modVarsAndMain.Skills[15][0] = Variant(L"из прошлой игры");
    modVarsAndMain.Inventory.reset();  // a root missing: the loader makes them all afresh
    ASSERT_TRUE(LoadGame());
    EXPECT_TRUE(modVarsAndMain.Skills[15][0].IsEmpty());
}

TEST_F(SaveSet, NoSaveSaysSo) {
    ASSERT_FALSE(Load());
    EXPECT_EQ(ui.log, std::vector<std::wstring>{L"MsgBox|Morvath|Сохранений нет...."});
}

TEST_F(SaveSet, DamagedOrIncompleteSavesFailWithTheSameMessage) {
    auto broken = [&](const char* file, const std::string& bytes) {
        for (const auto& e : fs::directory_iterator(folder.path() / "saved")) fs::remove(e.path());
        CopyOldSave();
        if (bytes == "<remove>") fs::remove(folder.saved(file));
        else ASSERT_TRUE(WriteFileAtomic(folder.saved(file), bytes));
        ui.log.clear();
        EXPECT_FALSE(Load()) << file;
        EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Сохранений нет...."), 1) << file;
    };
    broken("char.itm", "<remove>");
    broken("char.itm", " 0 \r\n 0 \r\nhalf an item\r\n");
    broken("char.ch", "<remove>");
    broken("char.ch", "name\r\n 2 \r\n");
    broken("char.ch", std::string("name\r\nmonk\r\n") + std::string(40, '\n'));
    broken("q.q", " 1 \r\n 2 \r\n");
    broken("attribs", "<remove>");
    broken("inven", "\"a\",1\r\n");
    broken("N1.crd", "<remove>");
}

TEST_F(SaveSet, ASaveIntoAnUnwritableFolderTellsThePlayerAndKeepsTheOldFiles) {
    FillGame();
    ASSERT_TRUE(SaveGame());
    const auto before = ReadBytes(folder.saved("char.ch"));
    fs::remove(folder.saved("q.q"));
    fs::create_directories(folder.saved("q.q") / "blocked");
    h().Level = 9;
    EXPECT_FALSE(SaveGame());
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Не удалось сохранить игру!"), 1);
    for (const auto& e : fs::recursive_directory_iterator(folder.path() / "saved")) {
        EXPECT_FALSE(IsLeftoverTemp(e.path())) << e.path();
    }
    EXPECT_EQ(ReadBytes(folder.saved("char.ch")), before);  // the previous save stays whole
}
