// The dragon's lair as a new game makes it from the shipped start script and monster
// templates: a dungeon whose ways out lead to the floor beside the Ural pass, peopled only
// with beasts the cave painter draws and whose scripts exist.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "platform/cp1251.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "test_support.h"
#include "world/game_state.h"
#include "script/cscript.h"
#include "world/tile_painters.h"

using namespace morvath;

namespace {

const fs::path kGame = MORVATH_GAME_DIR;

std::vector<std::wstring> Items(const fs::path& file) {
    std::vector<std::wstring> out;
    auto r = TextReader::Open(file);
    std::wstring item;
    while (r && r->ReadItem(item)) out.push_back(item);
    return out;
}

}  // namespace

TEST(LairContent, TheStartScriptMakesTheLairBesideThePass) {
    TempGameFolder folder;
    for (const char* sub : {"intros", "maps", "scripts"}) fs::copy(kGame / sub, folder.path() / sub, fs::copy_options::recursive);
    fs::copy(kGame / "saved", folder.path() / "saved", fs::copy_options::overwrite_existing);
    ResetGame();
    modVarsAndMain.CreateRoots();
    SeedRandom(5);
    ASSERT_TRUE(RunScriptFile(L"start.scr"));

    ASSERT_TRUE(LocationFilesExist(L"lair"));
    const auto crd = Items(World::SavedFile(L"lair", L".crd"));
    ASSERT_EQ(crd.size(), 10u);
    for (int r : {0, 5}) EXPECT_EQ(crd[r + 2] + L"," + NumText(Val(crd[r + 3])) + L"," + NumText(Val(crd[r + 4])), L"wild,36,11");
    // The way back puts the hero on grass beside the pass, (37, 11), not on it.
    std::vector<std::string> rows;
    std::istringstream wild(ReadBytes(fs::path(MORVATH_TEST_DATA) / ".." / ".." / "data" / "maps" / "wild.map").value_or(""));
    for (std::string line; std::getline(wild, line);) rows.push_back(line);
    ASSERT_GT(rows.size(), 14u);
    EXPECT_EQ(FromUtf8(rows[11 + 3]).at(36 + 2), L'G');

    // The beasts: every template is whole, drawn by the cave painter, with scripts that exist.
    const auto templ = Items(kGame / "maps" / "lairbeasts.dat");
    ASSERT_EQ(templ.size() % 9, 0u);
    std::set<std::wstring> names;
    for (std::size_t i = 0; i < templ.size(); i += 9) {
        names.insert(templ[i]);
        EXPECT_TRUE(TilePicture(kMapCave, templ[i + 8].at(0))) << ToUtf8(templ[i]);
        for (std::size_t s : {i + 1, i + 5}) EXPECT_TRUE(FileExists(kGame / "scripts" / ToUtf8(templ[s]))) << ToUtf8(templ[s]);
        EXPECT_TRUE(templ[i + 6] == L"#FALSE#" || templ[i + 6] == L"#TRUE#");
    }
    const auto lst = Items(World::SavedFile(L"lair", L".lst"));
    ASSERT_EQ(lst.size(), 14u * 12u);
    for (std::size_t i = 0; i < lst.size(); i += 12) EXPECT_TRUE(names.contains(lst[i])) << ToUtf8(lst[i]);
}
