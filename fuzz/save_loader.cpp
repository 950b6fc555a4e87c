// The save-set loader on damaged input: nothing may crash or read past its buffers, and a
// save set that loads can be saved and loaded again.
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/cp1251.h"
#include "world/game_state.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

// The location the fuzzed char.ch names ("t"); its grid, table and painter kind are sound,
// its characters and floor items come from the input.
void PutLocation() {
    fuzz::PutSaved(L"t.map", std::string_view("aaaa\r\naGGa\r\naaaa\r\n"));
    fuzz::PutSaved(L"t.crd", std::string_view("1\r\n1\r\nwild\r\n5\r\n5\r\n"));
    fuzz::PutSaved(L"t.tle", std::string_view(" 0 \r\n#This is a TileSet type file.Do not remove this Line!'\r\n"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzGameFolder::Get();
    static const wchar_t* const kFiles[] = {L"char.itm", L"char.ch", L"q.q", L"attribs", L"inven", L"t.lst", L"t.itm"};
    auto parts = fuzz::SplitParts(data, size, 7);
    for (int i = 0; i < 7; ++i) fuzz::PutSaved(kFiles[i], parts[static_cast<std::size_t>(i)]);
    PutLocation();

    ResetGame();
    modVarsAndMain.CreateRoots();
    if (!LoadGame()) return 0;
    if (modVarsAndMain.LastSkillIndex < 0 || modVarsAndMain.LastSkillIndex > 20) std::abort();
    if (!SaveGame()) std::abort();
    modVarsAndMain.CreateRoots();
    if (!LoadGame()) std::abort();
    return 0;
}
