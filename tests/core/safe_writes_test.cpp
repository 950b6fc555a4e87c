// Files replaced whole: any name the file system allows, no link written through, and a
// folder of files that changes together or not at all, whatever moment a crash picks and
// whichever step the disk refuses.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/fight_panel.h"
#include "game/hall_of_fame.h"
#include "platform/file_set.h"
#include "screen_fixture.h"
#include "services/file_cipher.h"
#include "test_support.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

// The folder's files, sorted, each with its content ("name=content "); a dot file by name.
std::string Listing(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (e.is_regular_file()) names.insert(name + (name[0] == '.' ? "" : "=" + *ReadBytes(e.path())) + " ");
    }
    return std::accumulate(names.begin(), names.end(), std::string());
}

// A disk step in a word and the path below `base` ("rename ~>a": a temporary file to "a").
std::string StepName(const DiskCall& c, const fs::path& base) {
    static const char* kWords[] = {"make", "create", "write", "sync", "rename", "remove", "sync-folder", "sync-all"};
    auto name = [&](const fs::path& p) { return IsLeftoverTemp(p) ? std::string("~") : p.lexically_relative(base).string(); };
    return kWords[static_cast<int>(c.step)] + (" " + (c.from ? name(*c.from) + ">" : "") + name(c.path));
}

template <class F>
std::vector<std::string> StepsOf(const fs::path& base, F act) {
    std::vector<std::string> steps;
    DiskFaults watch([&](const DiskCall& c) { return steps.push_back(StepName(c, base)), false; });
    act();
    return steps;
}

TEST(SafeWrites, EveryNameTheFileSystemAllowsIsWrittenWholeAndNothingElseStays) {
    TempDir dir;
    for (std::size_t length : {1u, 200u, 241u, 242u, 250u, 255u}) {
        const std::string name(length, 'n');
        ASSERT_TRUE(WriteFileAtomic(dir.path() / name, "old") && WriteFileAtomic(dir.path() / name, "new")) << length;
        EXPECT_EQ(Listing(dir.path()), name + "=new ") << length;
        fs::remove(dir.path() / name);
    }
    // Longer than any name can be: refused, and nothing is left behind. A link planted at
    // the name is replaced, not written through.
    EXPECT_FALSE(WriteFileAtomic(dir.path() / std::string(256, 'n'), "x"));
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "elsewhere", "not yours"));
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / "char.ch");
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "char.ch", "hero"));
    EXPECT_EQ(Listing(dir.path()), "char.ch=hero elsewhere=not yours ");
}

// The content is on the disk before the new name, and the name before the write counts as
// done; a folder synced later, or a batch, skips the syncs and flushes once at its end.
TEST(SafeWrites, SyncsComeWhereTheRuleWantsThem) {
    TempDir dir;
    fs::create_directories(dir.path() / "later");
    SyncLaterIn(dir.path() / "later");
    using Steps = std::vector<std::string>;
    EXPECT_EQ(StepsOf(dir.path(), [&] { WriteFileAtomic(dir.path() / "a", "x"); }),
              (Steps{"create ~", "write ~", "sync ~", "rename ~>a", "sync-folder ."}));
    EXPECT_EQ(StepsOf(dir.path(), [&] { WriteFileAtomic(dir.path() / "later" / "a", "x"); }),
              (Steps{"create ~", "write ~", "rename ~>later/a"}));
    EXPECT_EQ(StepsOf(dir.path(), [&] { SyncBatch outer(dir.path()); { SyncBatch inner(dir.path()); } WriteFileAtomic(dir.path() / "a", "x"); }),
              (Steps{"create ~", "write ~", "rename ~>a", "sync-all ."}));
}

const std::string kHead = "morvath commit 1\n";

StagedFolder Saved(const fs::path& root) {
    return {root / "saved", root / "saved" / ".pending", root / "saved" / ".commit"};
}

// A save folder with an old version of three files, and new versions of two of them
// staged, in each state a crash can leave a commit in: the commit record, the staged files
// already moved in, whether the new versions win.
TEST(SafeWrites, ACommitCutShortIsFinishedOrDroppedWhole) {
    const std::string both = kHead + std::string("a.map\0b.lst\0", 12);
    const std::tuple<std::string, std::vector<std::string>, bool> cases[] = {
        {"", {}, false},  {both + "end\n", {}, true}, {both + "end\n", {"a.map"}, true},
        {both + "end\n", {"a.map", "b.lst"}, true}, {both, {}, false},  // a record without its last line is none
        {kHead + std::string("a.map\0../b.lst\0", 15) + "end\n", {}, false}, {"a.map\nb.lst\n", {}, false},
    };
    for (const auto& [record, moved, newWins] : cases) {
        TempDir dir;
        const StagedFolder f = Saved(dir.path());
        for (const char* n : {"a.map", "b.lst", "c.itm"}) ASSERT_TRUE(WriteFileAtomic(f.folder / n, "old"));
        // Under the spelling the folder has.
        ASSERT_TRUE(WriteFileAtomic(f.Staged(L"A.MAP"), "new") && WriteFileAtomic(f.Staged(L"b.lst"), "new"));
        EXPECT_EQ(std::tuple(ReadBytes(f.Current(L"A.map")), ReadBytes(f.Current(L"c.itm"))), std::tuple("new", "old"));
        for (const auto& n : moved) fs::rename(f.staging / n, f.folder / n);
        ASSERT_TRUE(record.empty() || WriteFileAtomic(f.record, record));
        // What a crash inside a write leaves: a temporary file, in either folder.
        for (const fs::path& where : {f.folder, f.staging}) std::ofstream(where / ".~wr00000000deadbeef.tmp") << "half";
        const std::string want = newWins ? "new" : "old";
        // A record that is there but not whole is said so.
        EXPECT_EQ((std::tuple{f.Recover(), Listing(f.folder) + "|" + Listing(f.staging)}),
                  std::tuple(newWins || record.empty(), "a.map=" + want + " b.lst=" + want + " c.itm=old |"))
            << record << moved.size();
    }
}

// Whichever step of a commit the disk refuses, the folder is as before and the new versions
// stay staged (a save reported as failed is never finished later); a commit that cannot
// even be undone is finished at the next start, or undone there when its record is damaged.
TEST(SafeWrites, ACommitThatFailsIsUndoneWhole) {
    using Outcome = StagedFolder::Outcome;
    const std::string kOld = "a.map=old b.lst=old ", kNew = "a.map=new b.lst=new c.itm=new ";
    // The first step refused (as StepsOf spells it); whether every rename after it is refused
    // too, so that nothing can be undone; whether the record is then found damaged.
    const std::tuple<const char*, bool, bool> cases[] = {
        {"sync-all .pending", false, false},           {"rename ~>.commit", false, false},
        {"sync-folder .", false, false},               // the record's own
        {"rename b.lst>.undo/kept/b.lst", false, false}, {"rename .pending/c.itm>c.itm", false, false},
        {"sync-folder .pending", false, false},        {"rename .pending/b.lst>b.lst", true, false},
        {"rename .pending/b.lst>b.lst", true, true},   {"", false, false}, {"make .undo/added", false, false},
    };
    for (const auto& [refused, thenAll, damaged] : cases) {
        TempDir dir;
        const StagedFolder f = Saved(dir.path());
        for (const char* n : {"a.map", "b.lst"}) ASSERT_TRUE(WriteFileAtomic(f.folder / n, "old"));
        for (const wchar_t* n : {L"a.map", L"b.lst", L"c.itm"}) ASSERT_TRUE(WriteFileAtomic(f.Staged(n), "new"));
        bool refusing = false;
        Outcome outcome;
        {
            DiskFaults faults([&](const DiskCall& call) {
                if (!refusing && StepName(call, f.folder) == refused) return refusing = true;
                return refusing && thenAll && call.step == DiskStep::Rename;
            });
            outcome = f.Commit();
        }
        const Outcome expected = !*refused ? Outcome::Done : thenAll ? Outcome::Unfinished : Outcome::NotDone;
        const std::string seen = outcome == Outcome::NotDone ? Listing(f.folder) + "|" + Listing(f.staging) : "";
        EXPECT_EQ(std::tuple(outcome, FileExists(f.record), seen),
                  std::tuple(expected, thenAll, expected == Outcome::NotDone ? kOld + "|" + kNew : "")) << refused;
        ASSERT_TRUE(!damaged || WriteFileAtomic(f.record, kHead + "a.m")) << refused;
        EXPECT_EQ((std::tuple{f.Recover(), Listing(f.folder), Listing(f.staging)}),
                  std::tuple(!damaged, expected == Outcome::NotDone || damaged ? kOld : kNew, "")) << refused;
    }
}

// Nothing the game writes, appends or removes lies outside its folder, whatever links it
// meets there: a link is removed as a link and never written through, and a save folder
// that leads out is left alone, the player told.
TEST(SafeWrites, NoLinkCarriesAWriteOrARemovalOutOfTheGameFolder) {
    TempDir outside;
    TempGameFolder game;
    ScriptedFrontend ui;
    ASSERT_TRUE(WriteFileAtomic(outside.path() / "mine", "keep"));
    const StagedFolder f = SaveFolder();
    // The staging folder a link, out of the game folder or into another of its folders: the
    // start removes the link, and the next write makes a folder of the game's own.
    ASSERT_TRUE(WriteFileAtomic(game.path() / "Images" / "crest.bmp", "crest"));
    for (const fs::path& target : {outside.path(), game.path() / "Images"}) {
        fs::create_symlink(target, f.staging);
        EXPECT_TRUE(FinishInterruptedWrites() && WriteFileAtomic(f.Staged(L"a.map"), "new") && fs::is_directory(fs::symlink_status(f.staging)));
        fs::remove_all(f.staging);
    }
    EXPECT_EQ(Listing(game.path() / "Images"), "crest.bmp=crest ");
    // The kill log a link: nothing appended. A link among the saved files: removed itself.
    fs::create_symlink(outside.path() / "mine", KillLogPath());
    fs::create_symlink(outside.path() / "mine", f.folder / "x.map");
    AppendKillLog(L"Волк");
    EXPECT_TRUE(DeleteSaveSet() && !fs::exists(fs::symlink_status(f.folder / "x.map")));
    // The save folder a link out: no start, load, write, move or removal acts there.
    fs::remove_all(f.folder);
    fs::create_symlink(outside.path(), f.folder);
    const bool refused = !FinishInterruptedWrites() && !LoadGame() && !WriteFileAtomic(f.folder / "q.q", "x") && !DeleteSaveSet() &&
                         !RenameFile(f.folder / "mine", game.path() / "mine");
    const std::wstring told = L"MsgBox|Morvath|Папка saved ведёт за пределы папки игры. Игра ничего не пишет и не удаляет вне своей папки.";
    EXPECT_EQ(std::tuple(refused, ui.log, Listing(outside.path())),
              std::tuple(true, std::vector<std::wstring>{L"MsgBox|Morvath|Не удалось дописать файл monst.cnt: этого врага не будет в летописи.", told, told}, "mine=keep "));
    // One that stays inside is the game's to use.
    fs::remove(f.folder);
    fs::create_directories(game.path() / "slot");
    fs::create_symlink(game.path() / "slot", f.folder);
    EXPECT_TRUE(WriteFileAtomic(f.Staged(L"q.q"), "x") && FinishInterruptedWrites() && FileExists(f.staging / "q.q") == false);
}

// A game killed at any moment while it walks between two places and saves, or whose disk
// fills up: whatever happens, the next start finds one save, whole, and no file
// half-written or left over; the hall of fame keeps every record.
//
// Every value the game writes in a round carries the round's number (the hero's coins, a
// quest flag, a skill, a worn and a carried item's names, and in each place its first grid
// row, its character's hit points, its floor item's weight and a table record), so a mix of
// two rounds shows. MORVATH_CRASH_KILLS sets the number of kills (200 by default), shared by
// four runs of their own that go side by side.
// Runs `act` as on a full disk: no file may grow past `bytes`. The game's write past it
// must fail rather than let the limit's signal end the process.
template <class F>
auto WithRoom(rlim_t bytes, F act) {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limited{bytes, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limited);
    auto result = act();
    ::setrlimit(RLIMIT_FSIZE, &old);
    return result;
}

class WholeSave : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // Two places whose doors lead into each other.
        for (auto [id, other] : {std::pair{L"east", L"west"}, {L"west", L"east"}}) {
            WriteLocation(id, Grass(20, 20), {{L"5", L"5", other, L"7", L"7"}, {L"1", L"1", L"", L"0", L"0"}});
            WriteText(L"saved/" + std::wstring(id) + L".lst", L"\"Страж\",5,\"S\",0,\"\",9,9,1,\"\",\"\",\"\",#TRUE#\r\n");
            WriteText(L"saved/" + std::wstring(id) + L".itm", L"3,3,\"Камень\",0,\"\",1,0,0,0,\"\",0,\"\"\r\n");
        }
        w().WorldName = L"east";
        g().Inventory->Add();
        ASSERT_TRUE(w().Load_World() && (Mark(0), SaveGame()));
    }

    // The round's number in every value the round writes.
    void Mark(long n) {
        g().Money = n;
        g().QuestFlags[0] = static_cast<int>(n % 30000);
        g().Skills[0][1] = static_cast<double>(n);
        g().Equip[kSlotBody][0] = Variant(std::to_wstring(n));
        g().Inventory->Item(1)->ItemName = std::to_wstring(n);
        w().SetRow(0, L"GG" + std::to_wstring(n));
        g().NPCs->Item(1)->HP = w().mapItemCol->Item(1)->Weight = static_cast<double>(n);
        w().Record(1).TargetX = Variant(static_cast<double>(n));
    }

    // One round: through the door, and a save.
    bool Round() {
        const long n = static_cast<long>(g().Money) + 1;
        Mark(n);
        std::tie(g().PlayerX, g().PlayerY) = std::tuple(5, 5);
        w().checkplace();
        return Mark(n), SaveGame();
    }

    // The place's values after loading it: nothing, or a text saying what is wrong.
    std::string PlaceMarks(long map, long table) {
        const bool whole = w().Row(0) == L"GG" + std::to_wstring(map) && g().NPCs->Count() == 1 && g().NPCs->Item(1)->HP == map &&
                           w().mapItemCol->Count() == 1 && w().mapItemCol->Item(1)->Weight == map && w().LocCount == 1 &&
                           w().Record(1).TargetX.ToNumber() == table;
        return whole ? "" : " place " + ToUtf8(w().WorldName);
    }

    // What the next start finds: one save, whole; nothing of an unfinished one. Returns the
    // save's round.
    long CheckSave(std::string& wrong) {
        FinishInterruptedWrites();
        for (const auto& e : fs::recursive_directory_iterator(folder.path()))
            if (IsLeftoverTemp(e.path()) || e.path().filename() == ".commit" || e.path().parent_path().filename() == ".pending")
                wrong += " left over: " + e.path().filename().string();
        g().CreateRoots();
        if (!LoadGame()) return wrong += " no save", -1;
        const long n = static_cast<long>(g().Money);
        if (g().QuestFlags[0] != n % 30000 || g().Skills[0][1].ToNumber() != n || g().Equip[kSlotBody][0].ToText() != std::to_wstring(n) ||
            g().Inventory->Count() != 1 || g().Inventory->Item(1)->ItemName != std::to_wstring(n))
            wrong += " hero";
        wrong += PlaceMarks(n, n);
        // The other place was left in this round, and last saved as the current place in
        // the round before.
        const std::wstring here = w().WorldName;
        w().WorldName = here == L"east" ? L"west" : L"east";
        if (n > 0) wrong += w().Load_World() ? PlaceMarks(n, n - 1) : " other place";
        w().WorldName = here;
        if (n > 0 && !w().Load_World()) wrong += " this place";
        return n;
    }
};

class KilledWhileSaving : public WholeSave, public ::testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(WholeSave, KilledWhileSaving, ::testing::Range(0, 4));

TEST_P(KilledWhileSaving, AKillAtAnyMomentLeavesOneWholeSave) {
    const char* env = std::getenv("MORVATH_CRASH_KILLS");
    const int kills = ((env ? std::max(1, std::atoi(env)) : 200) + 3) / 4;
    // How long a round takes here, so that the kills fall all over it.
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(Round());
    const auto round = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 5;
    std::string wrong;
    long last = CheckSave(wrong);
    ASSERT_EQ(std::tuple(wrong, last), std::tuple("", 5L));
    // The kill times are drawn anew each run; MORVATH_CRASH_SEED replays a run that failed.
    const char* fixed = std::getenv("MORVATH_CRASH_SEED");
    const unsigned seed = fixed ? static_cast<unsigned>(std::strtoul(fixed, nullptr, 10)) : std::random_device{}();
    SCOPED_TRACE("MORVATH_CRASH_SEED=" + std::to_string(seed));
    std::mt19937 gen(seed);
    std::uniform_int_distribution<long> delay(0, round.count() * 4 + 1000);
    for (int k = 0; k < kills; ++k) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            while (Round()) continue;
            std::_Exit(4);
        }
        ::usleep(static_cast<useconds_t>(delay(gen)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving game stopped by itself: " << status;
        const long n = CheckSave(wrong);
        ASSERT_TRUE(wrong.empty() && n >= last) << wrong << " " << n << " after " << last << ", kill " << k;
        last = n;
    }
    EXPECT_GT(last, 5);  // the kills did land inside the work, not only before or after it
}

// The door refuses too: the hero stays where nothing of the place is lost.
TEST_F(WholeSave, ASaveThatRunsOutOfRoomKeepsThePreviousSaveWhole) {
    for (auto [room, file] : {std::pair{0, L"east.lst"}, {40, L"east.lst"}, {200, L"east.map"}, {1000, L"east.map"}}) {
        ui.log.clear();
        const bool saved = WithRoom(room, [&] { return Round(); });
        const std::vector<std::wstring> told{L"MsgBox|Morvath|Не удалось записать файл " + std::wstring(file) + L". Вы остаётесь здесь: ничего не потеряно.",
                                             L"MsgBox|Morvath|Не удалось сохранить игру!"};
        std::string wrong;
        EXPECT_EQ(std::tuple(saved, w().WorldName, ui.log, CheckSave(wrong), wrong), std::tuple(false, L"east", told, 0L, "")) << room;
    }
    // With room again the game saves, whole.
    std::string wrong;
    EXPECT_EQ((std::tuple{Round(), CheckSave(wrong), wrong}), std::tuple(true, 1L, ""));
}

// A save the disk refused part-way (its hero's file cannot be replaced) is never finished
// later: neither at the next start nor mixed with what the game wrote after it.
TEST_F(WholeSave, ASaveReportedAsFailedIsNeverAppliedLater) {
    g().Money = 50;
    {
        DiskFaults immutable([&](const DiskCall& c) {
            return c.step == DiskStep::Rename && (c.path == folder.saved("char.ch") || *c.from == folder.saved("char.ch"));
        });
        EXPECT_FALSE(SaveGame());
    }
    w().mapItemCol->Add()->ItemName = L"Метка";
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(5, 5);
    w().checkplace();
    std::string wrong;
    EXPECT_EQ(std::tuple(ui.log, CheckSave(wrong), wrong), std::tuple(std::vector<std::wstring>{L"MsgBox|Morvath|Не удалось сохранить игру!"}, 0L, ""));
}

// A full disk is no damage: the old records stay as they were, nothing is set aside beside
// them (the game's two folders alone), and the player is told.
TEST_F(WholeSave, TheHallOfFameKeepsEveryRecordAndSaysItCouldNotWrite) {
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), EncodeCp1251(L"\"Ратибор\",3,120,4,\" был убит Волком\",\"\"\r\n")) &&
                EncryptFileInPlace(HiscorePath()));
    const auto before = ReadBytes(HiscorePath());
    g().hallOfFame = {L"Волк", L"", true};
    ui.msgAnswers = {MsgResult::No};  // no deeds file
    WithRoom(0, [] { return HallOfFame().Open(), 0; });
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox|Morvath|Не удалось записать файл Hiscore"), ReadBytes(HiscorePath()) == before,
                         std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator())),
              std::tuple(1, true, 3));
}

}  // namespace
