// A disk that fills up part-way through a save or the hall of fame: the player is told, and
// what was on the disk before stays whole.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "services/file_cipher.h"
#include "services/hall_of_fame.h"
#include "test_support.h"
#include "world/game_state.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

// No file may grow past `bytes` while the object lives: as a full disk, a write past it
// fails (the signal that would end the process is ignored meanwhile).
class WriteLimit {
public:
    explicit WriteLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = old_;
        r.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ~WriteLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, handler_);
    }
    WriteLimit(const WriteLimit&) = delete;
    WriteLimit& operator=(const WriteLimit&) = delete;

private:
    rlimit old_{};
    void (*handler_)(int) = nullptr;
};

struct FullDisk : ::testing::Test {
    TempGameFolder folder;
    ScriptedFrontend ui;

    void SetUp() override {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SeedRandom(3);
    }
    void TearDown() override { ResetGame(); }
    World& w() { return *modVarsAndMain.TheWorld; }

    // A game whose every file carries `n`, the map grown big enough to need a few blocks.
    void Game(int n) {
        auto& g = modVarsAndMain;
        g.Player->PlayerName = L"Ратибор";
        g.Money = n;
        g.QuestFlags[3] = n;
        g.Skills[0][0] = Variant(L"Знание трав");
        g.Skills[0][1] = n;
        g.Inventory->Clear();
        g.Inventory->Add()->ItemName = L"Хлеб " + std::to_wstring(n);
        w().WorldName = L"N1";
        for (int r = 0; r <= 70; ++r) w().SetRow(r, std::wstring(60, L'G') + std::to_wstring(n));
        w().LocCount = -1;
        w().addLocation(7, 3, L"A1", 4, n);
        g.NPCs->Clear();
        g.NPCs->Add()->HP = n;
        w().mapItemCol->Clear();
        w().mapItemCol->Add()->Weight = n;
    }
    // The save as the next start loads it, or a text saying what is not of round n.
    std::string Loads(int n) {
        FinishInterruptedWrites();
        ResetGame();
        modVarsAndMain.CreateRoots();
        if (!LoadGame()) return "no save";
        auto& g = modVarsAndMain;
        std::string wrong;
        if (g.Money != n || g.QuestFlags[3] != n || g.Skills[0][1].ToNumber() != n) wrong += " hero";
        if (g.Inventory->Count() != 1 || g.Inventory->Item(1)->ItemName != L"Хлеб " + std::to_wstring(n)) wrong += " carried";
        if (w().Row(70) != std::wstring(60, L'G') + std::to_wstring(n)) wrong += " map";
        if (w().Record(0).TargetY.ToNumber() != n) wrong += " table";
        if (g.NPCs->Count() != 1 || g.NPCs->Item(1)->HP != n) wrong += " characters";
        if (w().mapItemCol->Count() != 1 || w().mapItemCol->Item(1)->Weight != n) wrong += " floor";
        return wrong;
    }
};

TEST_F(FullDisk, ASaveThatRunsOutOfRoomKeepsThePreviousSaveWhole) {
    Game(1);
    ASSERT_TRUE(SaveGame());
    for (rlim_t room : {0, 40, 200, 1000, 2000}) {
        Game(2);
        ui.log.clear();
        bool saved = true;
        {
            WriteLimit limit(room);
            saved = SaveGame();
        }
        EXPECT_FALSE(saved) << room;
        EXPECT_EQ(ui.log, std::vector<std::wstring>{L"MsgBox|Morvath|Не удалось сохранить игру!"}) << room;
        EXPECT_EQ(Loads(1), "") << room;
    }
    // With room again the same game saves, whole.
    Game(2);
    EXPECT_TRUE(SaveGame());
    EXPECT_EQ(Loads(2), "");
}

TEST_F(FullDisk, TheHallOfFameKeepsEveryRecordAndSaysItCouldNotWrite) {
    const std::string plain = EncodeCp1251(
        L"\"Ратибор\",3,120,4,\" был убит Волком\",\"\"\r\n\"Милава\",2,310,6,\"#\",\"Спасла княжество\"\r\n");
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), plain));
    ASSERT_TRUE(EncryptFileInPlace(HiscorePath()));
    const auto before = ReadBytes(HiscorePath());
    modVarsAndMain.Player->PlayerName = L"Всеслав";
    modVarsAndMain.Player->Level = 1;
    modVarsAndMain.hallOfFame = {L"Волк", L"", true};
    ui.msgAnswers = {MsgResult::No};  // no deeds file

    HallOfFame hall;
    {
        WriteLimit limit(0);
        hall.Form_Load();
    }
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Не удалось записать файл Hiscore"), 1);
    EXPECT_EQ(ReadBytes(HiscorePath()), before);
    // Nothing beside it: no copy set aside as damaged, no plain records.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder.path())) {
        if (e.is_regular_file()) names.push_back(e.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"Hiscore"});
    // This run is still listed, after the two before it.
    ASSERT_EQ(hall.List1.size(), 12u);
    EXPECT_TRUE(hall.List1[8].starts_with(L"Всеслав - "));

    // With room again the next run is recorded after the two that survived.
    ui.msgAnswers = {MsgResult::No};
    HallOfFame next;
    next.Form_Load();
    auto records = ParseHallOfFame(DecryptText(*ReadBytes(HiscorePath())).value_or(""));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name, L"Ратибор");
    EXPECT_EQ(records[1].name, L"Милава");
    EXPECT_EQ(records[2].name, L"Всеслав");
}

}  // namespace
