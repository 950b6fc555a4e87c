// Files replaced whole: any name the file system allows, no link written through, and a
// folder of files that changes together or not at all, whatever moment a crash picks.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/file_set.h"
#include "test_support.h"

using namespace morvath;

namespace {

// The folder's entries, sorted, each file with its content: "name=content".
std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        names.push_back(e.path().filename().string() + (e.is_regular_file() ? "=" + ReadBytes(e.path()).value_or("?") : ""));
    }
    std::sort(names.begin(), names.end());
    return names;
}
using Names = std::vector<std::string>;

TEST(SafeWrites, EveryNameTheFileSystemAllowsIsWrittenWholeAndNothingElseStays) {
    TempDir dir;
    for (std::size_t length : {1u, 200u, 241u, 242u, 250u, 255u}) {
        const std::string name(length, 'n');
        ASSERT_TRUE(WriteFileAtomic(dir.path() / name, "old")) << length;
        ASSERT_TRUE(WriteFileAtomic(dir.path() / name, std::to_string(length))) << length;
        EXPECT_EQ(Listing(dir.path()), Names{name + "=" + std::to_string(length)}) << length;
        fs::remove(dir.path() / name);
    }
    // Longer than any name can be: refused, and nothing is left behind.
    EXPECT_FALSE(WriteFileAtomic(dir.path() / std::string(256, 'n'), "x"));
    EXPECT_TRUE(Listing(dir.path()).empty());
    // A link planted at the name is replaced, not written through.
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "elsewhere", "not yours"));
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / "char.ch");
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "char.ch", "hero"));
    EXPECT_FALSE(fs::is_symlink(dir.path() / "char.ch"));
    EXPECT_EQ(Listing(dir.path()), (Names{"char.ch=hero", "elsewhere=not yours"}));
}

// A save folder with an old version of three files, and new versions of two of them
// staged, in each state a crash can leave a commit in.
struct CommitCase {
    const char* name;
    std::string record;             // "" for none
    std::vector<std::string> moved;  // staged files already moved in before the crash
    bool newWins;
};

const std::string kHead = "morvath commit 1\n";
const std::string kBoth = kHead + std::string("a.map\0b.lst\0", 12) + "end\n";

const CommitCase kCommitCases[] = {
    {"StagedWithoutARecordIsDropped", "", {}, false},
    {"ARecordWithNothingMovedIsFinished", kBoth, {}, true},
    {"ARecordWithHalfMovedIsFinished", kBoth, {"a.map"}, true},
    {"ARecordWithAllMovedIsCleared", kBoth, {"a.map", "b.lst"}, true},
    {"ARecordWithoutItsLastLineIsNone", kHead + std::string("a.map\0b.lst\0", 12), {}, false},
    {"ARecordNamingAPathIsNone", kHead + std::string("a.map\0../b.lst\0", 15) + "end\n", {}, false},
    {"ARecordOfAnotherKindIsNone", "a.map\nb.lst\n", {}, false},
};

StagedFolder Saved(const TempDir& dir) {
    return {dir.path() / "saved", dir.path() / "saved" / ".pending", dir.path() / "saved" / ".commit"};
}

TEST(SafeWrites, ACommitCutShortIsFinishedOrDroppedWhole) {
    for (const CommitCase& c : kCommitCases) {
        TempDir dir;
        const StagedFolder f = Saved(dir);
        for (const char* n : {"a.map", "b.lst", "c.itm"}) ASSERT_TRUE(WriteFileAtomic(f.folder / n, "old"));
        ASSERT_TRUE(WriteFileAtomic(f.Staged(L"A.MAP"), "new"));  // under the spelling the folder has
        ASSERT_TRUE(WriteFileAtomic(f.Staged(L"b.lst"), "new"));
        EXPECT_EQ(std::tuple(ReadBytes(f.Current(L"A.map")), ReadBytes(f.Current(L"c.itm"))), std::tuple("new", "old")) << c.name;
        for (const auto& n : c.moved) fs::rename(f.staging / n, f.folder / n);
        if (!c.record.empty()) ASSERT_TRUE(WriteFileAtomic(f.record, c.record));
        // What a crash inside a write leaves: a temporary file, in either folder.
        for (const fs::path& where : {f.folder, f.staging}) {
            std::ofstream(where / ".~wr00000000deadbeef.tmp") << "half";
            ASSERT_TRUE(IsLeftoverTemp(where / ".~wr00000000deadbeef.tmp"));
        }
        f.Recover();
        const std::string want = c.newWins ? "new" : "old";
        EXPECT_EQ(Listing(f.folder), (Names{".pending", "a.map=" + want, "b.lst=" + want, "c.itm=old"})) << c.name;
        EXPECT_TRUE(Listing(f.staging).empty()) << c.name;
    }
}

TEST(SafeWrites, ACommitMovesEverythingStagedOrNothing) {
    TempDir dir;
    const StagedFolder f = Saved(dir);
    ASSERT_TRUE(WriteFileAtomic(f.folder / "a.map", "old"));
    ASSERT_TRUE(WriteFileAtomic(f.Staged(L"a.map"), "new"));
    ASSERT_TRUE(WriteFileAtomic(f.Staged(L"q.q"), "new"));
    // A name the folder holds as a subfolder cannot be replaced: nothing moves.
    fs::create_directories(f.folder / "q.q" / "x");
    EXPECT_FALSE(f.Commit());
    EXPECT_EQ(Listing(f.folder), (Names{".pending", "a.map=old", "q.q"}));
    fs::remove_all(f.folder / "q.q");
    EXPECT_TRUE(f.Commit());
    EXPECT_EQ(Listing(f.folder), (Names{".pending", "a.map=new", "q.q=new"}));
    EXPECT_TRUE(Listing(f.staging).empty());
    // A commit whose moves were cut short, and the game writes on: the later version never
    // becomes part of that commit.
    ASSERT_TRUE(WriteFileAtomic(f.Staged(L"a.map"), "saved"));
    ASSERT_TRUE(WriteFileAtomic(f.record, kHead + std::string("a.map\0end\n", 10)));
    ASSERT_TRUE(WriteFileAtomic(f.Staged(L"a.map"), "later"));
    f.Recover();
    EXPECT_EQ(ReadBytes(f.folder / "a.map"), "saved");
}

}  // namespace
