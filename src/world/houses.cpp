#include "world/houses.h"

#include "platform/random.h"
#include "platform/textforms.h"
#include "world/world.h"

namespace morvath {
namespace {

struct Resident {
    const wchar_t* name;
    bool man;
    const wchar_t* symbol;
    int x, y;
};

// The residents of templates 1 to 3; the other templates stand empty.
constexpr Resident kResidents[3][2] = {
    {{L"Андрей", true, L"2", 11, 10}, {L"Катерина", false, L"6", 6, 7}},
    {{L"Николай", true, L"3", 8, 10}, {L"Варвара", false, L"1", 7, 6}},
    {{L"Микола", true, L"3", 9, 8}, {L"Панкрат", true, L"3", 6, 6}},
};

}  // namespace

bool CreateHouse(const HouseSpec& spec) {
    if (!IsPlainName(spec.HouseName)) return false;
    const std::wstring& stem = spec.HouseName;
    const int n = RandomInt(1, 7);
    auto plan = TextReader::Open(GamePath(L"\\intros\\h" + std::to_wstring(n) + L".map"));
    if (!plan) return false;
    TextWriter map;
    for (std::wstring row; plan->ReadItem(row);) map.PrintText(row);

    int s = RandomInt(1, 6) - 1;
    if (s == 0) s = 1;
    // Every house is written whole: a house made again under an old name must not keep the
    // old residents or the old floor items.
    TextWriter residents;
    if (n <= 3) {
        for (const Resident& r : kResidents[n - 1]) {
            const double hp = r.man ? RandomInt(1, 10) + 1 : RandomInt(1, 4) + 1;
            const double strength = r.man ? RandomInt(1, 4) + 1 : RandomInt(1, 2) + 1;
            residents.Text(r.name).Number(hp).Text(r.symbol).Number(0).Text(L"К").Number(r.x).Number(r.y)
                .Number(strength).Text(std::wstring(r.man ? L"man" : L"wom") + std::to_wstring(s) + L".tai")
                .Text(L"").Text(L"").Bool(true);
            residents.EndRecord();
        }
    }
    TextWriter coords;
    coords.PrintText(L"7");
    coords.PrintText(L"11");
    coords.PrintText(spec.ExitTarget);
    coords.PrintNumber(spec.ExitX);
    coords.PrintNumber(spec.ExitY);
    TextWriter tile;
    tile.PrintText(L"2");
    tile.PrintText(L"#This is a TileSet type file.Do not remove this Line!");
    const bool written = map.Save(World::NewSavedFile(stem, L".map")) && residents.Save(World::NewSavedFile(stem, L".lst")) &&
                         TextWriter().Save(World::NewSavedFile(stem, L".itm")) && coords.Save(World::NewSavedFile(stem, L".crd")) &&
                         tile.Save(World::NewSavedFile(stem, L".tle"));
    if (!written) TellPlaceNotMade(stem);
    return written;
}

}  // namespace morvath
