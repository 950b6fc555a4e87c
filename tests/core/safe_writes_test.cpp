// Files replaced whole: any name the file system allows, no link written through, and a
// folder of files that changes together or not at all, whatever moment a crash picks and
// whichever step the disk refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <set>

#include "game/fight_panel.h"
#include "platform/file_set.h"
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

}  // namespace
