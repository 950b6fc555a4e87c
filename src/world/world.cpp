#include "world/world.h"

#include "platform/frontend.h"
#include "world/game_state.h"

namespace morvath {
namespace {

// A grid coordinate as the game passes it (a Single or a Variant) to a 1-based index;
// anything that is not a whole number inside the grid gives -1.
long Index(double v) {
    if (v != v || v < 0 || v > 100000) return -1;
    // Mostly a whole number already: every character's step asks for a few.
    const long whole = static_cast<long>(v);
    return whole == v ? whole : static_cast<long>(CLng(v));
}

}  // namespace

std::wstring World::GetPosMap(double x, double y) const {
    long col = Index(x), row = Index(y);
    if (row < 0 || row > kMaxRow || col < 1) return L"";
    const std::wstring& r = Map[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) > r.size()) return L"";
    return std::wstring(1, r[static_cast<std::size_t>(col - 1)]);
}

void World::setPosMap(double y, double x, const std::wstring& ch) {
    long col = Index(x), row = Index(y);
    // Outside the grid, or past the row's end, the game's own statement fails and is
    // skipped; a character walking off the edge must not bring the game down.
    if (row < 0 || row > kMaxRow || col < 1 || ch.empty()) return;
    std::wstring& r = Map[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) > r.size()) return;
    r[static_cast<std::size_t>(col - 1)] = ch[0];
}

void World::addLocation(const Variant& x, const Variant& y, const Variant& target, const Variant& targetX,
                        const Variant& targetY) {
    // A full table would break every later look-up and save of this location; entry
    // scripts run on every visit, so a second record for the same cell is dropped too
    // (only the first record of a cell ever acts).
    if (LocCount >= kMaxRecord) return;
    for (int i = 0; i <= LocCount && i <= kMaxRecord; ++i) {
        const auto& r = Locations[static_cast<std::size_t>(i)];
        if (r.Target.ToText().empty() && r.X.ToNumber() == 0 && r.Y.ToNumber() == 0) continue;
        if (r.X.ToNumber() == x.ToNumber() && r.Y.ToNumber() == y.ToNumber()) return;
    }
    LocCount += 1;
    Locations[static_cast<std::size_t>(LocCount)] = LocationRecord{x, y, target, targetX, targetY};
}

void World::ClearLocations() {
    for (auto& r : Locations) r = LocationRecord{Variant(0), Variant(0), Variant(L""), Variant(0), Variant(0)};
}

std::wstring World::RepeatString(const std::wstring& s, long n) {
    std::wstring out;
    for (long i = 0; i < n; ++i) out += s;
    return out;
}

void World::FillBorders(const std::wstring& chFill) {
    for (int row = 0; row <= 40; ++row) {
        if (row <= 5 || row >= 36) {
            Map[static_cast<std::size_t>(row)] = RepeatString(chFill, 61);
        } else {
            Map[static_cast<std::size_t>(row)] = RepeatString(chFill, 6) + RepeatString(L"G", 39) + RepeatString(chFill, 6);
        }
    }
}

void World::AddStandartLocations() {
    struct Exit {
        int pathCol0, pathCol1, pathRow0, pathRow1;  // the "G" path through the border
        int doorCol, doorRow;
    };
    static constexpr Exit exits[4] = {
        {20, 20, 1, 9, 20, 5},
        {1, 9, 14, 14, 6, 14},
        {20, 20, 32, 40, 20, 36},
        {40, 50, 17, 17, 46, 17},
    };
    const auto& g = modVarsAndMain;
    for (int i = 0; i < 4; ++i) {
        const Exit& e = exits[i];
        for (int row = e.pathRow0; row <= e.pathRow1; ++row) {
            for (int col = e.pathCol0; col <= e.pathCol1; ++col) setPosMap(row, col, L"G");
        }
        setPosMap(e.doorRow, e.doorCol, L"+");
        Locations[static_cast<std::size_t>(i)] = LocationRecord{
            Variant(e.doorCol - 3), Variant(e.doorRow - 3), Variant(L"wild"),
            Variant(static_cast<double>(g.PlayerX)), Variant(static_cast<double>(g.PlayerY))};
    }
    LocCount = 3;
}

void DrawIt() {
    auto& g = modVarsAndMain;
    if (g.TheWorld) g.TheWorld->DrawWorld(g.gameScreen.view);
    UI().Redraw();
}

}  // namespace morvath
