// The readers of a location's five files on damaged input: nothing may crash or read past
// its buffers, the table never holds more than its 31 records, and what a load keeps can be
// written and read back to the same characters and floor items.
#include <cstdlib>

#include "fuzz_support.h"
#include "world/game_state.h"

using namespace morvath;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzGameFolder::Get();
    static const wchar_t* const kExt[] = {L".map", L".lst", L".crd", L".itm", L".tle"};
    auto parts = fuzz::SplitParts(data, size, 5);
    for (int i = 0; i < 5; ++i) fuzz::PutSaved(std::wstring(L"fz") + kExt[i], parts[static_cast<std::size_t>(i)]);

    ResetGame();
    modVarsAndMain.CreateRoots();
    World& w = *modVarsAndMain.TheWorld;
    w.WorldName = L"fz";
    const bool loaded = w.Load_World();
    if (loaded != LocationFilesExist(L"fz")) std::abort();
    if (w.LocCount < -1 || w.LocCount > World::kMaxRecord) std::abort();
    for (int row = 0; row <= World::kMaxRow; ++row) {
        const std::wstring& r = w.Row(row);
        for (int col = 1; col <= static_cast<int>(r.size()) + 1; ++col) (void)w.GetPosMap(col, row);
    }
    if (!loaded) return 0;

    const long npcs = modVarsAndMain.NPCs->Count();
    const long items = w.mapItemCol->Count();
    if (!w.SaveChars() || !w.SaveItems() || !w.SaveMap() || !w.SaveCoords()) std::abort();
    if (!w.Load_World()) std::abort();
    if (modVarsAndMain.NPCs->Count() != npcs || w.mapItemCol->Count() != items) std::abort();
    return 0;
}
