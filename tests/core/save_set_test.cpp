#include <gtest/gtest.h>

#include "platform/frontend.h"
#include "platform/random.h"
#include "test_support.h"
#include "world/game_state.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

struct SaveSet : ::testing::Test {
    TempGameFolder folder;
    ScriptedFrontend ui;

    void SetUp() override {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SeedRandom(9);
    }
    MainCharacter& h() { return *modVarsAndMain.Player; }
    World& w() { return *modVarsAndMain.TheWorld; }

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

TEST_F(SaveSet, SaveAndLoadGiveBackEveryValue) {
    FillGame();
    const auto skills = modVarsAndMain.Skills;
    const auto equip = modVarsAndMain.Equip;
    ASSERT_TRUE(SaveGame());
    ResetGame();
    modVarsAndMain.FacingDir = 3;
    ASSERT_TRUE(Load());

    auto& g = modVarsAndMain;
    const auto& c = h();
    EXPECT_EQ(c.PlayerName, L"Ратибор, \"Смелый\"");
    EXPECT_EQ(c.Profession, kHunter);
    EXPECT_EQ(c.BeginMaxWeight, 15);
    EXPECT_EQ(c.Luck, -3);
    EXPECT_EQ(c.Appearance, 3.5);
    EXPECT_EQ(c.Constitution, 4);
    EXPECT_EQ(c.Alertness, 6);
    EXPECT_EQ(c.Doom, -1.25);
    EXPECT_EQ(c.Exp, 3);
    EXPECT_EQ(c.WillPower, 8.2);
    EXPECT_EQ(c.HardIness, 2.30000000000001);
    EXPECT_EQ(c.Level, 2);
    EXPECT_EQ(c.Mana, 7.5);
    EXPECT_EQ(c.MaxHp, 20);
    EXPECT_EQ(c.MaxWeight, 30);
    EXPECT_EQ(c.Mobility, 5.5);
    EXPECT_EQ(c.Science, 3);
    EXPECT_EQ(c.Strenght, 4.75);
    EXPECT_EQ(c.Learning, 5);
    EXPECT_EQ(c.Magic, 1.5);
    EXPECT_EQ(c.Sick, 1);
    EXPECT_EQ(c.Poison, 2);
    EXPECT_EQ(c.Hungry, 150);
    EXPECT_EQ(c.HP, 14);
    EXPECT_EQ(c.dMonsters, 17);
    EXPECT_EQ(c.HeroeWeight, 72.5);
    EXPECT_EQ(c.Weapon, 6);
    EXPECT_EQ(c.Defence, 4);
    EXPECT_EQ(c.Critical, 0.5);
    EXPECT_EQ(g.PlayerX, 12);
    EXPECT_EQ(g.PlayerY, 9);
    EXPECT_EQ(g.Money, 70000);
    EXPECT_TRUE(g.CutSpellKnown);
    EXPECT_FALSE(g.LightningKnown);
    EXPECT_TRUE(g.FireballKnown);
    EXPECT_FALSE(g.CurseKnown);
    EXPECT_TRUE(g.HealingKnown);
    EXPECT_TRUE(g.NightKnown);
    EXPECT_EQ(g.ReturnX, Variant(40));
    EXPECT_EQ(g.ReturnY, 41);
    EXPECT_EQ(g.ResurrectionsLeft, 2);
    EXPECT_EQ(g.FacingDir, 3);  // the caller's to set
    for (int i = 0; i < 50; ++i) EXPECT_EQ(g.QuestFlags[i], i * 3 - 20);
    for (int r = 0; r <= 20; ++r) {
        // A text column reads an empty text back as nothing; either is "no text".
        EXPECT_EQ(g.Skills[r][0].ToText(), skills[r][0].ToText()) << r;
        EXPECT_EQ(g.Skills[r][1], skills[r][1]) << r;
        EXPECT_EQ(g.Skills[r][2].ToText(), skills[r][2].ToText()) << r;
    }
    EXPECT_EQ(g.LastSkillIndex, 20);
    // The record form has no quote inside a text: it comes back as an apostrophe.
    EXPECT_EQ(g.Equip[kSlotRightHand][kEqInfo].ToText(), L"Старый, 'ржавый'");
    g.Equip[kSlotRightHand][kEqInfo] = equip[kSlotRightHand][kEqInfo];
    for (int s = 0; s < 6; ++s) {
        for (int col = 0; col < 10; ++col) EXPECT_EQ(g.Equip[s][col], equip[s][col]) << s << "," << col;
    }
    ASSERT_EQ(g.Inventory->Count(), 2);
    auto a = g.Inventory->Item(1);
    EXPECT_EQ(a->DefendPlus, 3);
    EXPECT_EQ(a->itembalance, -1);
    EXPECT_EQ(a->ItemInfo, L"Проклятый, но крепкий");
    EXPECT_EQ(a->ItemName, L"Щит");
    EXPECT_EQ(a->ItemScript, L"shield.scr");
    EXPECT_EQ(a->ItemType, 2);
    EXPECT_EQ(a->ItemCount, 2);
    EXPECT_EQ(a->WeaponPlus, 1);
    EXPECT_EQ(a->Weight, 4);
    EXPECT_EQ(a->X, 20.5f);
    EXPECT_EQ(a->Y, 0.1f);
    EXPECT_EQ(a->Critical, 5);
    EXPECT_EQ(a->SkillPlus, L"De+03");
    EXPECT_EQ(g.Inventory->Item(2)->ItemName, L"Хлеб");

    EXPECT_EQ(w().WorldName, L"AG");
    EXPECT_EQ(w().Day, 3);
    EXPECT_EQ(w().Turn, 420);
    EXPECT_EQ(w().InfLevel, 4);
    EXPECT_EQ(w().MapType, 4);
    EXPECT_EQ(w().Row(70), L"aaGGGGGGGG9Gaa");
    EXPECT_EQ(w().LocCount, 0);
    ASSERT_EQ(g.NPCs->Count(), 1);
    EXPECT_EQ(g.NPCs->Item(1)->HP, 3.5);
    ASSERT_EQ(w().mapItemCol->Count(), 1);
    EXPECT_EQ(w().mapItemCol->Item(1)->ItemName, L"Кольцо возрождения");
    EXPECT_EQ(ui.Count(L"MsgBox"), 0);
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
    ASSERT_TRUE(Load());
    const auto& g = modVarsAndMain;
    const auto& c = h();
    EXPECT_EQ(c.PlayerName, L"Ратибор, по прозвищу \"Смелый\"");
    EXPECT_EQ(c.Profession, kMonk);
    EXPECT_EQ(c.Luck, 0);
    EXPECT_EQ(c.WillPower, 0);
    EXPECT_EQ(c.Doom, -1.5);
    EXPECT_EQ(c.Strenght, 4.75);
    EXPECT_EQ(c.HP, 14);
    EXPECT_EQ(g.Money, 250);
    EXPECT_TRUE(g.CutSpellKnown);
    EXPECT_FALSE(g.LightningKnown);
    EXPECT_TRUE(g.FireballKnown);
    EXPECT_TRUE(g.HealingKnown);
    EXPECT_TRUE(g.NightKnown);
    EXPECT_FALSE(g.Darkness);
    EXPECT_EQ(g.ReturnX.ToNumber(), 40);
    EXPECT_EQ(w().InfLevel, 0);
    EXPECT_EQ(c.dMonsters, 0);
    EXPECT_EQ(w().Day, 3);
    EXPECT_EQ(w().Turn, 420);
    EXPECT_EQ(g.QuestFlags[28], 4);
    EXPECT_EQ(g.QuestFlags[49], -2);

    EXPECT_EQ(g.Skills[0][0].ToText(), L"Литература");
    EXPECT_EQ(g.Skills[1][1].ToNumber(), 1);
    EXPECT_EQ(g.Skills[2][2].ToText(), L"Мясо волка,Мясо медведя");
    EXPECT_EQ(g.Skills[3][0].ToText(), L"Рыбалка");
    EXPECT_TRUE(g.Skills[11][0].IsEmpty());
    EXPECT_EQ(g.LastSkillIndex, 3);

    ASSERT_EQ(g.Inventory->Count(), 2);
    EXPECT_EQ(g.Inventory->Item(1)->ItemInfo, L"Чёрствый, но съедобный");
    EXPECT_EQ(g.Inventory->Item(1)->ItemCount, 2);
    EXPECT_EQ(g.Inventory->Item(2)->SkillPlus, L"De+03");
    EXPECT_EQ(g.Equip[kSlotRightHand][kEqName].ToText(), L"Меч");
    EXPECT_EQ(g.Equip[kSlotRightHand][kEqWeight].ToNumber(), 2.5);
    EXPECT_TRUE(g.Equip[kSlotHead][kEqName].IsEmpty());
    EXPECT_EQ(g.Equip[kSlotLeftHand][kEqName], Variant(L""));

    // Derived again: the sword's strike and critical, the carried weight, the monk's mana.
    EXPECT_EQ(c.Weapon, 6);
    EXPECT_EQ(c.Critical, 0.5);
    EXPECT_DOUBLE_EQ(c.Weight, 0.25 + 3 * 0.5 + 4 + 2.5);
    EXPECT_DOUBLE_EQ(c.MConst, 3 / 70.0 + 1.5 / 25);

    EXPECT_EQ(w().WorldName, L"N1");
    ASSERT_EQ(g.NPCs->Count(), 1);
    EXPECT_EQ(g.NPCs->Item(1)->NPCName, L"Стражник");
    EXPECT_EQ(w().Row(3), L"aaGGGGGGGGGaa");
}

TEST_F(SaveSet, TheLoadedSkillsTableIsTheFilesAlone) {
    CopyOldSave();
    modVarsAndMain.Skills[15][0] = Variant(L"из прошлой игры");
    ASSERT_TRUE(Load());
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
