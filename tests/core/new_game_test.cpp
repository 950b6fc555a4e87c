#include "game/new_game.h"
#include "game/weapons.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/source_text.h"
#include "services/map_archive.h"
#include "test_support.h"
#include "world/equipment.h"
#include "world/random_content.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

const fs::path kData = fs::path(MORVATH_TEST_DATA) / "new_game";
using Stages = std::vector<std::pair<std::wstring, int>>;

// A small game folder: intros, start script, weapon table and settings from the test data
// (converted as the build converts the real ones), and an archive of three tiny towns.
struct NewGame : GameTest {
    void SetUp() override {
        ResetGame();
        const fs::path src = kData / "game";
        for (const auto& e : fs::recursive_directory_iterator(src)) {
            if (!e.is_regular_file()) continue;
            auto bytes = ReadBytes(e.path());
            ASSERT_TRUE(bytes && WriteFileAtomic(folder.path() / fs::relative(e.path(), src), SourceTextToGame(*bytes, nullptr)));
        }
        auto archive = PackMapFolder(kData / "archive", nullptr);
        ASSERT_TRUE(archive && WriteFileAtomic(folder.path() / "maps" / "data.uni", *archive));
        SeedRandom(5);
    }
    std::string Game(const std::string& rel) { return ReadBytes(folder.path() / rel).value_or("<missing>"); }
    std::wstring Setting(const wchar_t* key) { return ReadIni(L"morvath", key, IniPath()); }

    // Character creation and the staged start, as "Вперёд!" runs them.
    bool Start(int person) { return CreateCharacter(person, L"Тестомир", false) && InitGame(StartHooks{}); }
    // The state of a hero right after the start button, with the calendar left out.
    void Recipe(int person, int luck = 0) {
        ResetGame();
        g().CreateRoots();
        h().Luck = luck;
        MakePerson(person);
    }
    int Arrows() {
        for (const auto& item : *g().Inventory) if (item->ItemName == L"Стрела") return item->ItemCount;
        return -1;
    }
    // A save set in \saved\ and a kill log, as an earlier game leaves them.
    void OldGameOnDisk() {
        for (auto [file, text] : {std::pair{folder.saved("char.ch"), "old hero\r\n"}, {folder.saved("N1.map"), "GG\r\n"}, {folder.path() / "monst.cnt", "x\r\n"}})
            ASSERT_TRUE(WriteFileAtomic(file, text));
    }
    auto OldGame() { return std::tuple(Game("saved/char.ch"), Game("saved/N1.map"), Game("monst.cnt")); }
};

using StartContent = GameTest;

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
            if (person == kWarlock) g().TheWorld->WorldName = L"AG";  // the caves are made later
            h().PlayerName = L"Тестомир";
            ASSERT_TRUE(SaveGame());
            const std::string set = std::to_string(person) + (d > 0 ? "-high" : "-low");
            for (const char* file : {"char.ch", "char.itm", "inven", "attribs", "q.q"})
                EXPECT_EQ(Game(std::string("saved/") + file), ReadBytes(kData / "heroes" / set / file).value_or("missing")) << set << " " << file;
        }
    }
    // Draws between the golden extremes: the prince's health rounds half to even (2.5 + 8
    // stays 10, 2.5 + 9 makes 12); the warlock's lightning on a four of seven and one to five
    // resurrections; the hunter's Int((Luck + 2) * r) + 10 extra arrows, even when negative.
    struct Case { int person, luck; std::vector<double> draws; std::tuple<int, bool, int, int> expected; };  // max health, lightning, resurrections, arrows
    const double four = 4 / 7.0, five = 5 / 7.0;
    const Case cases[] = {
        {kPrince, 0, {0.5, 0.4}, {10, false, 0, -1}},     {kPrince, 0, {0.5, 0.5}, {12, false, 0, -1}},
        {kWarlock, 0, {0, 0, 0, 0, 0, 0, four + 1e-4, 0}, {0, true, 1, -1}},
        {kWarlock, 0, {0, 0, 0, 0, 0, 0, four - 1e-4, 0.9999}, {0, false, 5, -1}},
        {kWarlock, 0, {0, 0, 0, 0, 0, 0, five + 1e-4, 0.5}, {0, false, 3, -1}},
        {kHunter, 0, {0, 0, 0, 0, 0.9999}, {0, false, 0, 11}}, {kHunter, -10, {0, 0, 0, 0, 0.9999}, {0, false, 0, 2}}};
    for (const auto& c : cases) {
        PinnedDraws draws(c.draws);
        Recipe(c.person, c.luck);
        EXPECT_EQ(std::tuple(c.person == kPrince ? int(h().MaxHp) : 0, g().LightningKnown, c.person == kWarlock ? int(g().ResurrectionsLeft) : 0, Arrows()),
                  c.expected) << c.person << " " << c.draws.back();
    }
}

// The calendar's luck of a hero made while the clock stands on a day, whatever day the suite
// runs on: Friday the 13th sets it to -10, another 13th takes 3, a Sunday gives 1 and 14 June
// 8 more, a 6th takes 1; a leap day means nothing. A day the calendar lacks is not stood on.
TEST_F(NewGame, AHeroMadeOnAPinnedDayGetsThatDaysLuck) {
    for (auto [year, month, day, luck] : {std::tuple{2026, 11, 13, -10}, {2026, 12, 13, -2}, {2026, 6, 14, 9}, {2027, 6, 14, 8}, {2026, 3, 6, -1},
                                          {2028, 2, 29, 0}, {2000, 2, 29, 0}, {2000, 10, 13, -10}}) {
        PinnedDay pinned(year, month, day);
        ASSERT_TRUE(CreateCharacter(kClaw, L"Тестомир", false));
        EXPECT_EQ(std::tuple(Today().year, Today().day, h().Luck), std::tuple(year, day, luck)) << month;
    }
    EXPECT_EQ(std::tuple(PinClock(2027, 2, 29), PinClock(2100, 2, 29), PinClock(2026, 4, 31), PinClock(2026, 13, 1)), std::tuple(false, false, false, false));
}

TEST_F(NewGame, TheChurchVillageIsCopiedForEveryoneButTheMonkGetsHisOwn) {
    const std::string church = Game("intros/vchurch.map"), monks = Game("intros/monk.map");
    for (int person = kPrince; person <= kHunter; ++person) {
        ASSERT_TRUE(CreateCharacter(person, L"Тестомир", false));
        EXPECT_EQ(std::tuple(Game("saved/vchurch.map"), Game("saved/vchurch.crd"), Game("saved/vchurch.tle"), FileExists(folder.saved("vchurch.lst"))),
                  std::tuple(person == kMonk ? monks : church, Game("intros/monk.crd"), Game("intros/monk.tle"), person != kMonk)) << person;
    }
}

// Without a name nothing changes; with one the old save is given up and the game starts afresh.
TEST_F(NewGame, TheStartButtonGivesUpTheOldSaveAndStartsAfreshOnlyWithAName) {
    OldGameOnDisk();
    const auto old = OldGame();
    // Left over from an earlier game in this process (a failed load, say).
    ResetGame();
    g().CreateRoots();
    std::tie(g().Money, g().NightKnown, g().QuestFlags[30]) = std::tuple(999, true, 2);
    g().Equip[kSlotHead][kEqName] = std::wstring(L"Шлем");
    EXPECT_FALSE(CreateCharacter(kHunter, L"", false));
    EXPECT_EQ(std::tuple(ui.log.back(), g().Money, OldGame(), Setting(L"loadfromkill")), std::tuple(L"MsgBox|Morvath|Необходимо ввести имя!", 999, old, L"1"));
    ASSERT_TRUE(CreateCharacter(kMonk, L"Пимен", false));
    EXPECT_EQ(std::tuple(OldGame(), Setting(L"loadfromkill"), g().KeepSaveOnDeath, g().Money, g().NightKnown, int(g().QuestFlags[30]),
                         g().Equip[kSlotHead][kEqName].ToText(), h().PlayerName),
              std::tuple(std::tuple("<missing>", "<missing>", "<missing>"), L"0", false, 0, false, 0, L"", L"Пимен"));
    ASSERT_TRUE(CreateCharacter(kMonk, L"Пимен", true));
    EXPECT_EQ(std::tuple(Setting(L"loadfromkill"), g().KeepSaveOnDeath), std::tuple(L"1", true));
    // The keep-save choice makes the settings file when there is none, and says when it
    // cannot be written: only this run keeps the save then.
    fs::remove(IniPath());
    ASSERT_TRUE(CreateCharacter(kMonk, L"Пимен", false) && !FileExists(IniPath()) && CreateCharacter(kMonk, L"Пимен", true));
    EXPECT_EQ(Game("morvath.ini"), "[morvath]\r\nloadfromkill=1\r\n");
    DiskFaults unwritable([](const DiskCall& c) { return c.path.filename() == "morvath.ini"; });
    ASSERT_TRUE(CreateCharacter(kMonk, L"Пимен", false));
    EXPECT_EQ(std::tuple(ui.log.back(), Setting(L"loadfromkill"), g().KeepSaveOnDeath),
              std::tuple(L"MsgBox|Morvath|Не удалось записать файл morvath.ini: выбор о сохранении при смерти забудется после выхода из игры.", L"1", false));
}

// A save folder that takes no files (read-only, or a link out of the game folder) stops the
// start before the old save is given up; one that fills up while the maps are unpacked
// stops it before the game is played on half a world.
TEST_F(NewGame, ASaveFolderThatTakesNoFilesStopsTheStart) {
    OldGameOnDisk();
    const auto old = OldGame();
    const fs::path saved = folder.path() / "saved";
    auto inSaved = [&](const DiskCall& c) { return c.path.parent_path() == saved && c.step == DiskStep::Create; };
    {
        DiskFaults readOnly(inSaved);
        EXPECT_FALSE(CreateCharacter(kHunter, L"Тестомир", false));
    }
    EXPECT_EQ(std::tuple(ui.log.back(), OldGame()), std::tuple(L"MsgBox|Morvath|Не удалось записать в папку saved: новая игра не начата. Прежнее сохранение не тронуто.", old));
    TempDir outside;
    fs::rename(saved, outside.path() / "saved");
    fs::create_symlink(outside.path() / "saved", saved);
    EXPECT_FALSE(CreateCharacter(kHunter, L"Тестомир", false));
    EXPECT_EQ(std::tuple(ui.log.back(), ReadBytes(outside.path() / "saved" / "char.ch")),
              std::tuple(L"MsgBox|Morvath|Папка saved ведёт за пределы папки игры. Игра ничего не пишет и не удаляет вне своей папки.", "old hero\r\n"));
    fs::remove(saved);
    ASSERT_TRUE(CreateCharacter(kHunter, L"Тестомир", false));
    DiskFaults full(inSaved);
    EXPECT_FALSE(InitGame(StartHooks{}));
    EXPECT_EQ(ui.log.back(), L"MsgBox|Morvath|Не удалось записать карты в папку saved: новая игра не начата.");
}

TEST_F(NewGame, StagesRunInOrderAndTheGameStartsReady) {
    Stages stages;
    std::vector<std::string> order;
    ASSERT_TRUE(CreateCharacter(kPrince, L"Святослав", false));
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "monst.cnt", "x\r\n"));
    StartHooks hooks;
    hooks.progress = [&](const std::wstring& c, int p) { stages.emplace_back(c, p); };
    hooks.hideMenu = [&] { order.push_back("hide menu, intro shown " + std::to_string(ui.Count(L"ShowText"))); };
    hooks.showGameScreen = [&] { order.push_back("game screen, intro shown " + std::to_string(ui.Count(L"ShowText"))); };
    ASSERT_TRUE(InitGame(hooks));

    EXPECT_EQ(stages, (Stages{{L"Определение профессий...", 1}, {L"Проверка параметров...", 2}, {L"Установка параметров...", 5}, {L"Распаковка карт...", 10},
                              {L"Создание пещер...", 50}, {L"Генерация инвентаря...", 80}, {L"Загрузка оружия...", 98}, {L"Всё почти готово...", 99}}));
    EXPECT_EQ(order, (std::vector<std::string>{"hide menu, intro shown 0", "game screen, intro shown 1"}));
    EXPECT_EQ(ui.log, std::vector<std::wstring>{L"ShowText|modal|Сказ: knaz\r\nвторая строка\r\n"});

    EXPECT_EQ(std::tuple(h().MConst, h().HP - h().MaxHp, h().Hungry, h().MaxWeight - (h().HardIness + h().Strenght + h().BeginMaxWeight), h().Defence),
              std::tuple(0.03, 0, 1, 0.0, 3.5));
    EXPECT_EQ(std::tuple(g().FacingDir, g().TheWorld->Day, int(g().QuestFlags[5]), g().WeaponsTable[1][0].ToText(), g().Messages[13], Game("monst.cnt")),
              std::tuple(2, 1, 7, L"Кирка", L"Здесь ничего нет.", ""));  // start.scr ran; the kill log is emptied
    // The first place is loaded and drawn around the hero.
    EXPECT_EQ(std::tuple(g().TheWorld->WorldName, g().NPCs->Count(), FileExists(folder.saved("wild.map")), FileExists(folder.saved("vira.map"))),
              std::tuple(L"A1", 1L, true, true));
    EXPECT_EQ(g().gameScreen.view.At(View::kHeroCell, View::kHeroCell), Pic::imgGrass);
}

TEST_F(NewGame, TheWarlockStartsInACaveAndOtherMagiciansGetTheirMagicConstant) {
    ASSERT_TRUE(Start(kWarlock));
    EXPECT_EQ(std::tuple(g().TheWorld->WorldName, g().TheWorld->MapType, g().PlayerY, g().TheWorld->GetPosMap(g().PlayerX + 3, 51)), std::tuple(L"AG", kMapCave, 48, L"G"));
    ASSERT_TRUE(CreateCharacter(kWarlock, L"Ворон", false));
    std::tie(h().Science, h().Magic, h().Strenght, h().HardIness) = std::tuple(2, 11, 0, 0);
    ASSERT_TRUE(InitGame(StartHooks{}));
    EXPECT_EQ(std::tuple(h().MConst, h().Strenght, h().HardIness), std::tuple(2 / 70.0 + 11 / 25.0, 0.3, 0.3));
}

TEST_F(NewGame, AMissingArchiveIsReportedAndTheStartStopsCleanly) {
    fs::remove(folder.path() / "maps" / "data.uni");
    fs::remove(folder.path() / "scripts" / "start.scr");
    ui.msgAnswers = {MsgResult::No};
    EXPECT_FALSE(Start(kHunter));
    EXPECT_EQ(ui.log, (std::vector<std::wstring>{L"MsgBox|Morvath|При распаковке карт найдены ошибки. Распаковано всё, что удалось прочитать.\r\nПоказать подробности?",
                                                 L"MsgBox|Morvath|Не удалось загрузить начальную местность \"vira\"."}));
    // With Yes the details follow, in Russian too; the warlock needs nothing from the archive.
    std::tie(ui.log, ui.msgAnswers) = std::tuple(std::vector<std::wstring>{}, std::deque{MsgResult::Yes});
    EXPECT_TRUE(Start(kWarlock));
    EXPECT_EQ(ui.log.at(1), L"MsgBox|Morvath|data.uni: файл не найден");
}

// A short line offers the names it has; lines past the tenth and rows past the persons' are
// never asked for, and nothing breaks; no names file or an empty line proposes no name.
TEST_F(NewGame, NamesComeFromThePersonsLine) {
    // names nullptr: the test data's file; "": no file
    const struct { const char* names; int person; double r; const wchar_t* name; } cases[] = {{nullptr, kPrince, 0.9999, L"Всеволод"}, {nullptr, kWarlock, 0.9999, L"Вышата"}, {nullptr, 9, 0, L"a10"}, {nullptr, 10, 0, L""},
                          {"\"Один\"\r\n\r\n", kPrince, 0, L"Один"}, {"\"Один\"\r\n\r\n", kWarlock, 0, L""}, {"", kPrince, 0, L""}};
    const fs::path file = folder.path() / "intros" / "names.txt";
    for (const auto& c : cases) {
        if (c.names) *c.names ? void(WriteFileAtomic(file, EncodeCp1251(FromUtf8(c.names)))) : void(fs::remove(file));
        PinnedDraws draws{c.r};
        EXPECT_EQ(PickRandomName(c.person), c.name) << c.person << " " << c.r;
    }
}

TEST_F(NewGame, ASavedGameContinuesWhereTheHeroStoodWithItsKeepSaveOption) {
    EXPECT_FALSE(LoadSavedGame());
    EXPECT_EQ(std::tuple(ui.log, !g().Player && !g().TheWorld), std::tuple(std::vector<std::wstring>{L"MsgBox|Morvath|Сохранений нет...."}, true));
    ASSERT_TRUE(CreateCharacter(kHunter, L"Добрыня, \"Никитич\"", true) && InitGame(StartHooks{}));
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(12, 6);
    ASSERT_TRUE(SaveGame());
    ResetGame();
    ui.log.clear();
    ASSERT_TRUE(LoadSavedGame());
    EXPECT_EQ(std::tuple(ui.log.empty(), g().KeepSaveOnDeath, h().PlayerName, int(h().Profession), g().TheWorld->WorldName, g().PlayerX, g().PlayerY,
                         g().FacingDir, g().WeaponsTable[0][0].ToText(), g().Messages[13]),
              std::tuple(true, true, L"Добрыня, \"Никитич\"", kHunter, L"vira", 12, 6, 1, L"Меч", L"Здесь ничего нет."));
}

// Three to six draws of six: a 2 is a dagger (with a bonus of 0 to 2, critical 70), a 4 food;
// nothing drawn is one food all the same.
TEST_F(StartContent, StartInventoryAlwaysHoldsSomething) {
    const double two = 2.0001 / 6, four = 4.0001 / 6;
    const std::tuple<std::vector<double>, std::wstring, double> cases[] = {
        {{0, two, 0.9999, four, 0}, L"Кинжал 1 70 +2|Еда 4 0 food.itm+0|", 1.5},
        {{0.9999, 0, 0, 0, 0, 0, 0.9999}, L"Еда 4 0 food.itm+0|", 1},
        {{0.25, four, four, two, 0.3, 3.9999 / 6, four}, L"Еда 4 0 food.itm+0|Еда 4 0 food.itm+0|Кинжал 1 70 +0|", 2.5}};
    for (const auto& [draws, expected, weight] : cases) {
        PinnedDraws pins(draws);
        g().Inventory->Clear();
        GenerateStartInventory();
        std::wstring items;
        for (const auto& i : *g().Inventory)
            items += i->ItemName + L" " + NumText(i->ItemType) + L" " + NumText(i->Critical) + L" " + i->ItemScript + L"+" + NumText(i->WeaponPlus) + L"|";
        EXPECT_EQ(std::tuple(items, h().Weight), std::tuple(expected, weight));
    }
}

// A power of two in every slot: each slot's share shows in the sums (the critical: the hands only).
TEST_F(StartContent, WeaponsFromWornItems) {
    for (int slot = 0; slot < 6; ++slot) {
        g().Equip[slot][kEqWeaponPlus] = g().Equip[slot][kEqDefendPlus] = 1 << slot;
        g().Equip[slot][kEqCritical] = 30 << slot;
    }
    CalculateWeapons();
    EXPECT_EQ(std::tuple(h().Weapon, h().Defence, h().Critical), std::tuple(0.5 + 1 + 4 + 8 + 8 + 16 + 1, 0.5 + 0.5 + 2 + 8 + 16 + 16, 6.0));
}
