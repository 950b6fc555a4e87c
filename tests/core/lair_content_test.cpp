// The dragon's lair as a new game makes it from the shipped start script and monster
// templates: a dungeon whose stair leads back up the Ural pass and whose last door leads to
// the dragon's den, peopled only with beasts the cave painter draws and whose scripts exist.
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

TEST(LairContent, TheStartScriptMakesTheLairBetweenThePassAndTheDen) {
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
    // The stair up comes out below the lair's mouth on the pass; the last door opens on the den.
    EXPECT_EQ(crd[2] + L"," + NumText(Val(crd[3])) + L"," + NumText(Val(crd[4])) + L" " + crd[7] + L"," +
                  NumText(Val(crd[8])) + L"," + NumText(Val(crd[9])),
              L"uralpass,24,11 drlair,19,38");

    // The beasts: every template is whole, drawn by the cave painter, with scripts that exist.
    const auto templ = Items(kGame / "maps" / "lair.mon");
    ASSERT_EQ(templ.size() % 9, 0u);
    std::set<std::wstring> names;
    for (std::size_t i = 0; i < templ.size(); i += 9) {
        names.insert(templ[i]);
        EXPECT_TRUE(TilePicture(kMapCave, templ[i + 8].at(0))) << ToUtf8(templ[i]);
        for (std::size_t s : {i + 1, i + 5}) {
            EXPECT_TRUE(templ[s].empty() || FileExists(kGame / "scripts" / ToUtf8(templ[s]))) << ToUtf8(templ[s]);
        }
        EXPECT_TRUE(templ[i + 6] == L"#FALSE#" || templ[i + 6] == L"#TRUE#");
    }
    const auto lst = Items(World::SavedFile(L"lair", L".lst"));
    ASSERT_EQ(lst.size(), 14u * 12u);
    for (std::size_t i = 0; i < lst.size(); i += 12) EXPECT_TRUE(names.contains(lst[i])) << ToUtf8(lst[i]);
}
