// A game killed at any moment while it walks between two places and saves, or whose disk
// fills up: whatever happens, the next start finds one save, whole, and no file
// half-written or left over; the hall of fame keeps every record.
//
// Every value the game writes in a round carries the round's number (the hero's coins, a
// quest flag, a skill, a worn and a carried item's names, and in each place its first grid
// row, its character's hit points, its floor item's weight and a table record), so a mix of
// two rounds shows. MORVATH_CRASH_KILLS sets the number of kills (200 by default).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/cp1251.h"
#include "screen_fixture.h"
#include "services/file_cipher.h"
#include "game/hall_of_fame.h"
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

class WholeSave : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // Two places whose doors lead into each other.
        for (const wchar_t* id : {L"east", L"west"}) {
            const std::wstring other = id == std::wstring(L"east") ? L"west" : L"east";
            WriteLocation(id, Grass(20, 20), {{L"5", L"5", other, L"7", L"7"}, {L"1", L"1", L"", L"0", L"0"}});
            WriteText(L"saved/" + std::wstring(id) + L".lst", L"\"Страж\",5,\"S\",0,\"\",9,9,1,\"\",\"\",\"\",#TRUE#\r\n");
            WriteText(L"saved/" + std::wstring(id) + L".itm", L"3,3,\"Камень\",0,\"\",1,0,0,0,\"\",0,\"\"\r\n");
        }
        w().WorldName = L"east";
        ASSERT_TRUE(w().Load_World());
        g().Inventory->Add();
        Mark(0);
        ASSERT_TRUE(SaveGame());
    }

    static std::wstring Row(long n) { return L"GG" + std::to_wstring(n); }

    // The round's number in every value the round writes.
    void Mark(long n) {
        const std::wstring text = std::to_wstring(n);
        g().Money = n;
        g().QuestFlags[0] = static_cast<int>(n % 30000);
        g().Skills[0][1] = static_cast<double>(n);
        g().Equip[kSlotBody][0] = Variant(text);
        g().Inventory->Item(1)->ItemName = text;
        w().SetRow(0, Row(n));
        g().NPCs->Item(1)->HP = static_cast<double>(n);
        w().mapItemCol->Item(1)->Weight = static_cast<double>(n);
        w().Record(1).TargetX = Variant(static_cast<double>(n));
    }

    // One round: through the door, and a save.
    bool Round() {
        const long n = static_cast<long>(g().Money) + 1;
        Mark(n);
        g().PlayerX = 5;
        g().PlayerY = 5;
        w().checkplace();
        Mark(n);
        return SaveGame();
    }

    // The place's values after loading it, or a text saying what is wrong.
    std::string PlaceMarks(long map, long table) {
        std::string wrong;
        if (w().Row(0) != Row(map)) wrong += " row";
        if (g().NPCs->Count() != 1 || g().NPCs->Item(1)->HP != map) wrong += " character";
        if (w().mapItemCol->Count() != 1 || w().mapItemCol->Item(1)->Weight != map) wrong += " floor";
        if (w().LocCount != 1 || w().Record(1).TargetX.ToNumber() != table) wrong += " table";
        return wrong;
    }

    // What the next start finds: one save, whole; nothing of an unfinished one. Returns the
    // save's round.
    long CheckSave(std::string& wrong) {
        FinishInterruptedWrites();
        for (const auto& e : fs::recursive_directory_iterator(folder.path())) {
            const std::string name = e.path().filename().string();
            if (IsLeftoverTemp(e.path()) || name == ".commit" || e.path().parent_path().filename() == ".pending") {
                wrong += " left over: " + name;
            }
        }
        g().CreateRoots();
        if (!LoadGame()) {
            wrong += " no save";
            return -1;
        }
        const long n = static_cast<long>(g().Money);
        const std::wstring text = std::to_wstring(n);
        if (g().QuestFlags[0] != n % 30000 || g().Skills[0][1].ToNumber() != n) wrong += " hero values";
        if (g().Equip[kSlotBody][0].ToText() != text) wrong += " worn";
        if (g().Inventory->Count() != 1 || g().Inventory->Item(1)->ItemName != text) wrong += " carried";
        wrong += PlaceMarks(n, n);
        // The other place was left in this round, and last saved as the current place in
        // the round before.
        const std::wstring here = w().WorldName;
        w().WorldName = here == L"east" ? L"west" : L"east";
        if (n > 0) {
            if (!w().Load_World()) wrong += " other place";
            wrong += PlaceMarks(n, n - 1);
        }
        w().WorldName = here;
        if (n > 0 && !w().Load_World()) wrong += " this place";
        return n;
    }
};

TEST_F(WholeSave, AKillAtAnyMomentLeavesOneWholeSave) {
    const char* env = std::getenv("MORVATH_CRASH_KILLS");
    const int kills = env ? std::max(1, std::atoi(env)) : 200;

    // How long a round takes here, so that the kills fall all over it.
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(Round());
    const auto round = (std::chrono::steady_clock::now() - start) / 5;
    std::string wrong;
    long last = CheckSave(wrong);
    ASSERT_EQ(wrong, "");
    ASSERT_EQ(last, 5);

    const unsigned seed = std::random_device{}();
    std::mt19937 gen(seed);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(round * 4).count() + 1000;
    std::uniform_int_distribution<long> delay(0, span);
    int finishedCommits = 0, droppedRounds = 0;
    for (int k = 0; k < kills; ++k) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            while (Round()) {
            }
            std::_Exit(4);
        }
        ::usleep(static_cast<useconds_t>(delay(gen)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving game stopped by itself: " << status;

        const fs::path saved = folder.path() / "saved";
        finishedCommits += FileExists(saved / ".commit");
        std::error_code ec;
        droppedRounds += !fs::is_empty(saved / ".pending", ec) && !FileExists(saved / ".commit");
        const long n = CheckSave(wrong);
        ASSERT_EQ(wrong, "") << "kill " << k << " (seed " << seed << ")";
        ASSERT_GE(n, last) << "kill " << k << " (seed " << seed << ")";
        last = n;
    }
    std::cout << kills << " kills, " << last - 5 << " rounds saved, " << finishedCommits << " saves finished at the next start, "
              << droppedRounds << " unsaved rounds dropped\n";
    // The kills did land inside the work, not only before or after it.
    EXPECT_GT(last, 5);
}

TEST_F(WholeSave, ASaveThatRunsOutOfRoomKeepsThePreviousSaveWhole) {
    for (rlim_t room : {0, 40, 200, 1000}) {
        ui.log.clear();
        bool saved = true;
        {
            WriteLimit limit(room);
            saved = Round();
        }
        EXPECT_FALSE(saved) << room;
        EXPECT_EQ(ui.log, std::vector<std::wstring>{L"MsgBox|Morvath|Не удалось сохранить игру!"}) << room;
        std::string wrong;
        EXPECT_EQ(CheckSave(wrong), 0) << room;
        EXPECT_EQ(wrong, "") << room;
    }
    // With room again the game saves, whole.
    ASSERT_TRUE(Round());
    std::string wrong;
    EXPECT_EQ(CheckSave(wrong), 1);
    EXPECT_EQ(wrong, "");
}

TEST_F(WholeSave, TheHallOfFameKeepsEveryRecordAndSaysItCouldNotWrite) {
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
        hall.Open();
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
    next.Open();
    auto records = ParseHallOfFame(DecryptText(*ReadBytes(HiscorePath())).value_or(""));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name, L"Ратибор");
    EXPECT_EQ(records[1].name, L"Милава");
    EXPECT_EQ(records[2].name, L"Всеслав");
    EXPECT_EQ(records[2].level, 1);
}

}  // namespace
