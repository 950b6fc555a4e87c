// Files replaced whole: any name the file system allows, no link written through, and a
// folder of files that changes together or not at all, whatever moment a crash picks.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <set>

#include "platform/file_set.h"
#include "test_support.h"

using namespace morvath;

namespace {

// The folder's entries, sorted, each file with its content: "name=content ".
std::string Listing(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        names.insert(e.path().filename().string() + (e.is_regular_file() ? "=" + *ReadBytes(e.path()) : "") + " ");
    return std::accumulate(names.begin(), names.end(), std::string());
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

const std::string kHead = "morvath commit 1\n";

StagedFolder Saved(const TempDir& dir) {
    return {dir.path() / "saved", dir.path() / "saved" / ".pending", dir.path() / "saved" / ".commit"};
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
        const StagedFolder f = Saved(dir);
        for (const char* n : {"a.map", "b.lst", "c.itm"}) ASSERT_TRUE(WriteFileAtomic(f.folder / n, "old"));
        // Under the spelling the folder has.
        ASSERT_TRUE(WriteFileAtomic(f.Staged(L"A.MAP"), "new") && WriteFileAtomic(f.Staged(L"b.lst"), "new"));
        EXPECT_EQ(std::tuple(ReadBytes(f.Current(L"A.map")), ReadBytes(f.Current(L"c.itm"))), std::tuple("new", "old"));
        for (const auto& n : moved) fs::rename(f.staging / n, f.folder / n);
        if (!record.empty()) ASSERT_TRUE(WriteFileAtomic(f.record, record));
        // What a crash inside a write leaves: a temporary file, in either folder.
        for (const fs::path& where : {f.folder, f.staging}) std::ofstream(where / ".~wr00000000deadbeef.tmp") << "half";
        f.Recover();
        const std::string want = newWins ? "new" : "old";
        EXPECT_EQ(Listing(f.folder) + "|" + Listing(f.staging), ".pending a.map=" + want + " b.lst=" + want + " c.itm=old |")
            << record << moved.size();
    }
}

TEST(SafeWrites, ACommitMovesEverythingStagedOrNothing) {
    TempDir dir;
    const StagedFolder f = Saved(dir);
    ASSERT_TRUE(WriteFileAtomic(f.folder / "a.map", "old") && WriteFileAtomic(f.Staged(L"a.map"), "new") &&
                WriteFileAtomic(f.Staged(L"q.q"), "new"));
    // A name the folder holds as a subfolder cannot be replaced: nothing moves.
    fs::create_directories(f.folder / "q.q" / "x");
    EXPECT_EQ((std::pair{f.Commit(), Listing(f.folder)}), std::pair(false, std::string(".pending a.map=old q.q ")));
    fs::remove_all(f.folder / "q.q");
    EXPECT_EQ((std::tuple{f.Commit(), Listing(f.folder), Listing(f.staging)}),
              std::tuple(true, ".pending a.map=new q.q=new ", ""));
    // A commit whose moves were cut short, and the game writes on: the later version never
    // becomes part of that commit.
    ASSERT_TRUE(WriteFileAtomic(f.Staged(L"a.map"), "saved") && WriteFileAtomic(f.record, kHead + std::string("a.map\0end\n", 10)) &&
                WriteFileAtomic(f.Staged(L"a.map"), "later"));
    f.Recover();
    EXPECT_EQ(ReadBytes(f.folder / "a.map"), "saved");
}

}  // namespace
