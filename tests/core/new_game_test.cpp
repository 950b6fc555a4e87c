#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "game/new_game.h"
#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "platform/settings.h"
#include "platform/source_text.h"
#include "services/map_archive.h"
#include "test_support.h"
#include "world/game_state.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

const fs::path kData = fs::path(MORVATH_TEST_DATA) / "new_game";

// A small game folder: intros, start script, weapon table and settings from the test data
// (converted as the build converts the real ones), and an archive of three tiny towns.
void InstallGame(const fs::path& folder) {
    const fs::path src = kData / "game";
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        if (!e.is_regular_file()) continue;
        auto bytes = ReadBytes(e.path());
        ASSERT_TRUE(bytes);
        ASSERT_TRUE(WriteFileAtomic(folder / fs::relative(e.path(), src), SourceTextToGame(*bytes, nullptr)));
    }
    auto archive = PackMapFolder(kData / "archive", nullptr);
    ASSERT_TRUE(archive);
    ASSERT_TRUE(WriteFileAtomic(folder / "maps" / "data.uni", *archive));
}

std::string Cp(const std::wstring& text) { return EncodeCp1251(text); }

struct NewGame : ::testing::Test {
    TempGameFolder folder;
    ScriptedFrontend ui;

    void SetUp() override {
        ResetGame();
        InstallGame(folder.path());
        SeedRandom(5);
    }
    GameState& g() { return modVarsAndMain; }
    MainCharacter& hero() { return *modVarsAndMain.Player; }
    std::string Game(const std::string& rel) { return ReadBytes(folder.path() / rel).value_or("<missing>"); }
    std::wstring Setting(const wchar_t* key) { return ReadIni(L"morvath", key, IniPath()); }

    // Character creation and the staged start, as "Вперёд!" runs them.
    bool Start(int person, std::vector<std::pair<std::wstring, int>>* stages = nullptr) {
        if (!CreateCharacter(person, L"Тестомир", false)) return false;
        StartHooks hooks;
        if (stages) hooks.progress = [stages](const std::wstring& c, int p) { stages->emplace_back(c, p); };
        return InitGame(hooks);
    }
    // The state of a hero right after the start button, with the calendar left out.
    void Recipe(int person, int luck = 0) {
        ResetGame();
        g().CreateRoots();
        hero().Luck = luck;
        MakePerson(person);
    }
    std::shared_ptr<Item> Carried(const std::wstring& name) {
        for (const auto& item : *g().Inventory) {
            if (item->ItemName == name) return item;
        }
        return nullptr;
    }
    std::wstring Worn(int slot, int column = kEqName) {
        return g().Equip[static_cast<std::size_t>(slot)][static_cast<std::size_t>(column)].ToText();
    }
    // A save set in \saved\ and a kill log, as an earlier game leaves them.
    void OldGameOnDisk() {
        ASSERT_TRUE(WriteFileAtomic(folder.saved("char.ch"), "old hero\r\n"));
        ASSERT_TRUE(WriteFileAtomic(folder.saved("N1.map"), "GG\r\n"));
        ASSERT_TRUE(WriteFileAtomic(folder.path() / "monst.cnt", Cp(L"Паук\r\n")));
    }
};

}  // namespace

// Each person's hero with every draw pinned low and high, as the golden save sets hold it:
// the character, the worn and carried things, the skills and the quest flags.
TEST_F(NewGame, EachPersonStartsAsTheGoldenSaveSetHoldsIt) {
    const wchar_t* intros[] = {L"knaz", L"necromancer", L"monk", L"kogot", L"hunter"};
    for (int person = kPrince; person <= kHunter; ++person) {
        for (double d : {0.0, 0.9999}) {
            PinnedDraws draws{d, d, d, d, d, d, d, d};
            Recipe(person);
            EXPECT_EQ(g().IntroText, std::wstring(L"Сказ: ") + intros[person] + L"\r\nвторая строка\r\n");
            if (person == kWarlock) {
                EXPECT_EQ(g().TheWorld->WorldName, L"");  // the caves are made later
                g().TheWorld->WorldName = L"AG";
            }
            hero().PlayerName = L"Тестомир";
            ASSERT_TRUE(SaveGame());
            const std::string set = std::to_string(person) + (d > 0 ? "-high" : "-low");
            for (const char* file : {"char.ch", "char.itm", "inven", "attribs", "q.q"})
                EXPECT_EQ(Game(std::string("saved/") + file), ReadBytes(kData / "heroes" / set / file).value_or("missing")) << set << " " << file;
        }
    }
    // The prince's health rounds half to even: 2.5 + 8 stays 10, 2.5 + 9 makes 12.
    for (auto [maxHpDraw, maxHp] : {std::pair{0.4, 10}, std::pair{0.5, 12}}) {
        PinnedDraws draws{0.5, maxHpDraw};
        Recipe(kPrince);
        EXPECT_EQ(hero().MaxHp, maxHp);
    }
    // The warlock: lightning on a four of seven; one to five resurrections.
    struct Warlock {
        double light, resurrections;
        bool lightning;
        int left;
    };
    for (const Warlock& w : {Warlock{4 / 7.0 + 1e-4, 0, true, 1}, Warlock{4 / 7.0 - 1e-4, 0.9999, false, 5},
                             Warlock{5 / 7.0 + 1e-4, 0.5, false, 3}}) {
        PinnedDraws draws{0, 0, 0, 0, 0, 0, w.light, w.resurrections};
        Recipe(kWarlock);
        EXPECT_EQ(g().LightningKnown, w.lightning) << w.light;
        EXPECT_EQ(g().ResurrectionsLeft, w.left) << w.light;
    }
    // The hunter's arrows: Int((Luck + 2) * r) + 10 extra pieces; the product may be negative.
    for (auto [luck, r, count] : {std::tuple{0, 0.0, 10}, std::tuple{0, 0.9999, 11}, std::tuple{-10, 0.9999, 2}, std::tuple{-10, 0.0, 10}}) {
        PinnedDraws draws{0, 0, 0, 0, r};
        Recipe(kHunter, luck);
        EXPECT_EQ(Carried(L"Стрела")->ItemCount, count) << luck << " " << r;
    }
}

TEST_F(NewGame, TheChurchVillageIsCopiedForEveryoneButTheMonkGetsHisOwn) {
    const std::string church = Game("intros/vchurch.map");
    const std::string monks = Game("intros/monk.map");
    ASSERT_NE(church, monks);
    for (int person = kPrince; person <= kHunter; ++person) {
        ASSERT_TRUE(CreateCharacter(person, L"Тестомир", false));
        EXPECT_EQ(Game("saved/vchurch.map"), person == kMonk ? monks : church) << person;
        EXPECT_EQ(Game("saved/vchurch.crd"), Game("intros/monk.crd"));
        EXPECT_EQ(Game("saved/vchurch.tle"), Game("intros/monk.tle"));
        EXPECT_EQ(FileExists(folder.saved("vchurch.lst")), person != kMonk) << person;
    }
}

TEST_F(NewGame, MissingIntroOrVillageSourcesAreSkipped) {
    fs::remove(folder.path() / "intros" / "hunter.txt");
    fs::remove(folder.path() / "intros" / "vchurch.lst");
    fs::remove(folder.path() / "intros" / "monk.map");
    ASSERT_TRUE(CreateCharacter(kHunter, L"Тестомир", false));
    EXPECT_EQ(g().IntroText, L"");
    EXPECT_FALSE(FileExists(folder.saved("vchurch.lst")));
    EXPECT_TRUE(FileExists(folder.saved("vchurch.map")));
    ASSERT_TRUE(CreateCharacter(kMonk, L"Тестомир", false));
    EXPECT_FALSE(FileExists(folder.saved("vchurch.map")));
    StartHooks none;
    EXPECT_TRUE(InitGame(none));
    EXPECT_EQ(ui.Count(L"ShowText|modal|Сказ: monk"), 1);
}

TEST_F(NewGame, AnEmptyNameChangesNothingAndKeepsTheOldSave) {
    OldGameOnDisk();
    ASSERT_EQ(Setting(L"loadfromkill"), L"1");
    for (bool keep : {false, true}) {
        EXPECT_FALSE(CreateCharacter(kHunter, L"", keep));
        EXPECT_EQ(ui.log.back(), L"MsgBox|Morvath|Необходимо ввести имя!");
        EXPECT_EQ(g().Player, nullptr);
        EXPECT_EQ(g().Money, 0);
        EXPECT_EQ(Game("saved/char.ch"), "old hero\r\n");
        EXPECT_EQ(Game("saved/N1.map"), "GG\r\n");
        EXPECT_EQ(Game("monst.cnt"), Cp(L"Паук\r\n"));
        EXPECT_EQ(Setting(L"loadfromkill"), L"1");
    }
    // A name of blanks is a name.
    EXPECT_TRUE(CreateCharacter(kHunter, L"   ", false));
    EXPECT_EQ(hero().PlayerName, L"   ");
}

TEST_F(NewGame, TheStartButtonGivesUpTheOldSaveAndStartsAfresh) {
    OldGameOnDisk();
    // Left over from an earlier game in this process (a failed load, say).
    ResetGame();
    g().CreateRoots();
    g().Money = 999;
    g().NightKnown = true;
    g().QuestFlags[30] = 2;
    g().Skills[7][0] = std::wstring(L"Кузнечное дело");
    g().Equip[kSlotHead][kEqName] = std::wstring(L"Шлем");
    ASSERT_TRUE(CreateCharacter(kMonk, L"Пимен", false));
    EXPECT_FALSE(FileExists(folder.saved("char.ch")));
    EXPECT_FALSE(FileExists(folder.saved("N1.map")));
    EXPECT_FALSE(FileExists(folder.path() / "monst.cnt"));
    EXPECT_EQ(Setting(L"loadfromkill"), L"0");
    EXPECT_FALSE(g().KeepSaveOnDeath);
    EXPECT_EQ(g().Money, 0);
    EXPECT_FALSE(g().NightKnown);
    EXPECT_EQ(g().QuestFlags[30], 0);
    EXPECT_EQ(g().Skills[7][0].ToText(), L"");
    EXPECT_EQ(Worn(kSlotHead), L"");
    EXPECT_EQ(hero().PlayerName, L"Пимен");
    EXPECT_EQ(hero().Level, 0);

    ASSERT_TRUE(CreateCharacter(kMonk, L"Пимен", true));
    EXPECT_EQ(Setting(L"loadfromkill"), L"1");
    EXPECT_TRUE(g().KeepSaveOnDeath);
}

TEST_F(NewGame, StagesRunInOrderAndTheGameStartsReady) {
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "monst.cnt", "x\r\n"));
    std::vector<std::pair<std::wstring, int>> stages;
    std::vector<std::string> order;
    ASSERT_TRUE(CreateCharacter(kPrince, L"Святослав", false));
    // The kill log of an earlier game goes with the save set.
    EXPECT_FALSE(FileExists(folder.path() / "monst.cnt"));
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "monst.cnt", "x\r\n"));
    StartHooks hooks;
    hooks.progress = [&](const std::wstring& c, int p) { stages.emplace_back(c, p); };
    hooks.hideMenu = [&] { order.push_back("hide menu, intro shown " + std::to_string(ui.Count(L"ShowText"))); };
    hooks.showGameScreen = [&] { order.push_back("game screen, intro shown " + std::to_string(ui.Count(L"ShowText"))); };
    ASSERT_TRUE(InitGame(hooks));

    const std::vector<std::pair<std::wstring, int>> expected = {
        {L"Определение профессий...", 1}, {L"Проверка параметров...", 2}, {L"Установка параметров...", 5},
        {L"Распаковка карт...", 10},      {L"Создание пещер...", 50},     {L"Генерация инвентаря...", 80},
        {L"Загрузка оружия...", 98},      {L"Всё почти готово...", 99}};
    EXPECT_EQ(stages, expected);
    EXPECT_EQ(order, (std::vector<std::string>{"hide menu, intro shown 0", "game screen, intro shown 1"}));
    EXPECT_EQ(ui.log, std::vector<std::wstring>{L"ShowText|modal|Сказ: knaz\r\nвторая строка\r\n"});

    const MainCharacter& h = hero();
    EXPECT_DOUBLE_EQ(h.MConst, 0.03);
    EXPECT_EQ(h.HP, h.MaxHp);
    EXPECT_EQ(h.Hungry, 1);
    EXPECT_DOUBLE_EQ(h.MaxWeight, h.HardIness + h.Strenght + h.BeginMaxWeight);
    EXPECT_DOUBLE_EQ(h.Defence, 0.25 * 0 + 3 + 0.5);
    EXPECT_EQ(g().FacingDir, 2);
    EXPECT_EQ(g().TheWorld->Day, 1);
    EXPECT_EQ(g().QuestFlags[5], 7);  // start.scr ran
    EXPECT_GE(g().QuestFlags[29], 0);
    EXPECT_LE(g().QuestFlags[29], 9);
    EXPECT_GE(g().Inventory->Count(), 1);
    EXPECT_EQ(g().WeaponsTable[1][0].ToText(), L"Кирка");
    EXPECT_EQ(g().Messages[13], L"Здесь ничего нет.");
    EXPECT_EQ(Game("monst.cnt"), "");
    // The first place is loaded and drawn around the hero.
    EXPECT_EQ(g().TheWorld->WorldName, L"A1");
    EXPECT_EQ(g().NPCs->Count(), 1);
    EXPECT_TRUE(FileExists(folder.saved("wild.map")));
    EXPECT_TRUE(FileExists(folder.saved("vira.map")));
    const View& view = g().gameScreen.view;
    EXPECT_GT(view.serial, 0u);
    EXPECT_EQ(view.At(View::kHeroCell, View::kHeroCell), Pic::imgGrass);
    EXPECT_FALSE(g().screen.lblInfo.empty());
}

TEST_F(NewGame, TheWarlockStartsInACaveAndOtherMagiciansGetTheirMagicConstant) {
    ASSERT_TRUE(Start(kWarlock));
    EXPECT_EQ(g().TheWorld->WorldName, L"AG");
    EXPECT_EQ(g().TheWorld->MapType, kMapCave);
    EXPECT_EQ(g().PlayerY, 48);
    EXPECT_EQ(g().TheWorld->GetPosMap(g().PlayerX + 3, 51), L"G");
    EXPECT_DOUBLE_EQ(hero().MConst, hero().Science / 70.0 + hero().Magic / 25);
    EXPECT_DOUBLE_EQ(hero().Weapon, 1);

    ASSERT_TRUE(CreateCharacter(kWarlock, L"Ворон", false));
    hero().Science = 2;
    hero().Magic = 11;
    hero().Strenght = 0;
    hero().HardIness = 0;
    ASSERT_TRUE(InitGame(StartHooks{}));
    EXPECT_DOUBLE_EQ(hero().MConst, 2 / 70.0 + 11 / 25.0);
    EXPECT_DOUBLE_EQ(hero().Strenght, 0.3);
    EXPECT_DOUBLE_EQ(hero().HardIness, 0.3);
}

TEST_F(NewGame, AMissingArchiveIsReportedAndTheStartStopsCleanly) {
    fs::remove(folder.path() / "maps" / "data.uni");
    fs::remove(folder.path() / "scripts" / "start.scr");
    ui.msgAnswers = {MsgResult::No};
    std::vector<std::pair<std::wstring, int>> stages;
    EXPECT_FALSE(Start(kHunter, &stages));
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[0], L"MsgBox|Morvath|Some errors were found when decompressing.\r\nDo you want to get more details?");
    EXPECT_EQ(ui.log[1], L"MsgBox|Morvath|Не удалось загрузить начальную местность \"vira\".");
    EXPECT_EQ(stages.size(), 8u);
    EXPECT_EQ(ui.Count(L"ShowText"), 0);

    // With Yes the details follow; the warlock needs nothing from the archive.
    ui.log.clear();
    ui.msgAnswers = {MsgResult::Yes};
    EXPECT_TRUE(Start(kWarlock));
    ASSERT_GE(ui.log.size(), 2u);
    EXPECT_TRUE(ui.log[1].find(L"data.uni") != std::wstring::npos) << ui.log[1];
    EXPECT_EQ(g().TheWorld->WorldName, L"AG");
}

TEST_F(NewGame, AnArchiveWithoutErrorsAsksNothing) {
    ASSERT_TRUE(Start(kClaw));
    EXPECT_EQ(ui.Count(L"MsgBox"), 0);
    EXPECT_EQ(g().TheWorld->WorldName, L"drsect");
    EXPECT_EQ(g().QuestFlags[9], 4);
}

TEST_F(NewGame, NamesComeFromThePersonsLine) {
    for (auto [person, r, name] : {std::tuple{kPrince, 0.0, L"Святослав"}, std::tuple{kPrince, 0.9999, L"Всеволод"},
                                   std::tuple{kPrince, 0.5, L"Мстислав"}, std::tuple{kWarlock, 0.9999, L"Вышата"}}) {
        PinnedDraws draws{r};
        EXPECT_EQ(PickRandomName(person), name) << r;  // a short line offers the names it has
    }
    // Lines past the tenth and rows past the persons' are never asked for; nothing breaks.
    EXPECT_EQ(PickRandomName(9), L"a10");
    EXPECT_EQ(PickRandomName(10), L"");
    EXPECT_EQ(PickRandomName(-1), L"");
}

TEST_F(NewGame, NoNamesFileOrAnEmptyLineProposesNoName) {
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "intros" / "names.txt", Cp(L"\"Один\"\r\n\r\n")));
    EXPECT_EQ(PickRandomName(kPrince), L"Один");
    EXPECT_EQ(PickRandomName(kWarlock), L"");
    EXPECT_EQ(PickRandomName(kMonk), L"");
    fs::remove(folder.path() / "intros" / "names.txt");
    EXPECT_EQ(PickRandomName(kPrince), L"");
}

TEST_F(NewGame, LoadWithNoSaveLeavesNoGame) {
    EXPECT_FALSE(LoadSavedGame());
    EXPECT_EQ(ui.log, std::vector<std::wstring>{L"MsgBox|Morvath|Сохранений нет...."});
    EXPECT_TRUE(!g().Player && !g().TheWorld && !g().NPCs && !g().Inventory);
}

TEST_F(NewGame, ASavedGameContinuesWhereTheHeroStoodWithItsKeepSaveOption) {
    for (bool keep : {true, false}) {
        ASSERT_TRUE(CreateCharacter(kHunter, L"Добрыня, \"Никитич\"", keep));
        ASSERT_TRUE(InitGame(StartHooks{}));
        g().PlayerX = 12;
        g().PlayerY = 6;
        const long items = g().Inventory->Count();
        const int arrows = Carried(L"Стрела")->ItemCount;
        ASSERT_TRUE(SaveGame());

        ResetGame();
        ui.log.clear();
        ASSERT_TRUE(LoadSavedGame());
        EXPECT_TRUE(ui.log.empty());
        EXPECT_EQ(g().KeepSaveOnDeath, keep);
        EXPECT_EQ(Setting(L"loadfromkill"), keep ? L"1" : L"0");
        EXPECT_EQ(hero().PlayerName, L"Добрыня, \"Никитич\"");
        EXPECT_EQ(hero().Profession, kHunter);
        EXPECT_EQ(g().TheWorld->WorldName, L"vira");
        EXPECT_EQ(g().PlayerX, 12);
        EXPECT_EQ(g().PlayerY, 6);
        EXPECT_EQ(g().FacingDir, 1);
        EXPECT_EQ(g().Inventory->Count(), items);
        EXPECT_EQ(Carried(L"Стрела")->ItemCount, arrows);
        EXPECT_EQ(g().WeaponsTable[0][0].ToText(), L"Меч");
        EXPECT_EQ(g().Messages[13], L"Здесь ничего нет.");
    }
}

TEST(GameScreenSize, ComesFromTheSettingsOrTheDesignedSize) {
    TempGameFolder folder;
    for (auto [ini, width, height] : {std::tuple{"", 563, 460}, std::tuple{"[morvath]\r\nwheight=8000\r\nwwidth=10000\r\n", 666, 533},
                                      std::tuple{"[morvath]\r\nwheight=abc\r\nwwidth=-5\r\n", 563, 460}}) {
        if (*ini) {
            ASSERT_TRUE(WriteFileAtomic(folder.path() / "morvath.ini", ini));
        }
        int w = 0, h = 0;
        GameScreenSize(w, h);
        EXPECT_EQ(w, width) << ini;
        EXPECT_EQ(h, height) << ini;
    }
}
