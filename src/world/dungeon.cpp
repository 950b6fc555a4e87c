#include "world/dungeon.h"

#include <vector>

#include "platform/files.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "world/world.h"

namespace morvath {
namespace {

constexpr int kMaxDepth = 12;
constexpr int kLow = 5, kHigh = 49;  // rooms and corridors start only inside this square
constexpr int kDirX[5] = {0, 0, -1, 0, 1};  // 1 down, 2 left, 3 up, 4 right
constexpr int kDirY[5] = {0, 1, 0, -1, 0};
constexpr int kMaxTemplates = 31;
constexpr int kHeroLeft = 3, kHeroTop = 4;  // the first column and row a hero can stand on

bool Inside(int x, int y) { return x >= 0 && y >= 0 && x < kDungeonSize && y < kDungeonSize; }
bool InCarvingSquare(int x, int y) { return x >= kLow && y >= kLow && x <= kHigh && y <= kHigh; }

class Carver {
public:
    explicit Carver(DungeonGrid& grid) : g_(grid) {}

    void Set(int x, int y, wchar_t c) {
        if (Inside(x, y)) g_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = c;
    }
    wchar_t At(int x, int y) const {
        return Inside(x, y) ? g_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] : L'a';
    }

    void FillRect(int x1, int y1, int x2, int y2, wchar_t c) {
        for (int y = y1; y <= y2; ++y) {
            for (int x = x1; x <= x2; ++x) Set(x, y, c);
        }
    }

    void MakeRoom(int x, int y, int dir, int depth) {
        if (depth > kMaxDepth || !InCarvingSquare(x, y)) return;
        const int a = RandomInt(1, 4);
        const int b = RandomInt(1, 4);
        int x1, y1, x2, y2;
        // A room lies on the side of (x, y) its direction points to. The corridors' ends open
        // rooms only downwards and to the left (or none); the first room opens downwards.
        switch (dir) {
            case 1: x1 = x - a - 1; y1 = y + 1; x2 = x; y2 = y + b + 1; break;
            case 2: x1 = x - a - 1; y1 = y; x2 = x - 1; y2 = y + b + 1; break;
            case 3: x1 = x - b - 1; y1 = y - a - 1; x2 = x; y2 = y - 1; break;
            case 4: x1 = x + 1; y1 = y; x2 = x + a; y2 = y + b; break;
            default: return;
        }
        FillRect(x1, y1, x2, y2, L'G');
        // Corridors in every other direction; those heading left and right start beside the
        // room and run back across it.
        if (dir != 1) MakeCorridor(x2, y2 + 1, 1, depth + 1);
        if (dir != 2) MakeCorridor(x2 + 1, y1, 2, depth + 1);
        if (dir != 3) MakeCorridor(x2, y1 - 1, 3, depth + 1);
        if (dir != 4) MakeCorridor(x1 - 1, y1, 4, depth + 1);
    }

    void MakeCorridor(int x, int y, int dir, int depth) {
        const int length = RandomInt(1, 7) + 10;
        if (depth > kMaxDepth || !InCarvingSquare(x, y)) return;
        int cx = x, cy = y;
        for (int step = 0; step < length; ++step) {
            if (!InCarvingSquare(cx, cy)) return;
            Set(cx, cy, L'G');
            cx += kDirX[dir];
            cy += kDirY[dir];
        }
        const int k = static_cast<int>(Int(Rnd() * 5));
        if (k == 3) {
            const int n = RandomInt(1, 5);
            for (int i = 0; i <= n; ++i) {
                const int d = RandomInt(1, 4);
                if (d != dir) MakeCorridor(cx, cy, d, depth + 1);
            }
        } else if (k == 2 || k == 4) {
            MakeRoom(cx, cy, static_cast<int>(Int(Rnd() * 3)), depth + 1);
        }
    }

    // The floor a hero who came down the staircase can walk to from (x, y), as a mask. A
    // step onto the staircase leads out, so no way goes over it; and the hero keeps to
    // coordinates of 1 and more, so columns 0..2 and rows 0..3 are out of his reach.
    std::vector<bool> Walkable(int x, int y) const {
        std::vector<bool> seen(kDungeonSize * kDungeonSize, false);
        std::vector<std::pair<int, int>> todo{{x, y}};
        seen[static_cast<std::size_t>(y * kDungeonSize + x)] = true;
        while (!todo.empty()) {
            auto [cx, cy] = todo.back();
            todo.pop_back();
            for (int d = 1; d <= 4; ++d) {
                const int nx = cx + kDirX[d], ny = cy + kDirY[d];
                if (nx < kHeroLeft || ny < kHeroTop || !Inside(nx, ny) || At(nx, ny) != L'G') continue;
                const auto at = static_cast<std::size_t>(ny * kDungeonSize + nx);
                if (!seen[at]) {
                    seen[at] = true;
                    todo.emplace_back(nx, ny);
                }
            }
        }
        return seen;
    }

private:
    DungeonGrid& g_;
};

// The staircase in the first room and the exit door on a floor cell drawn in scan order.
// Only floor the hero can walk to from the first room may hold the door, and never the cell
// above the staircase (the floor below a door is where the way out is taken). When no cell
// is drawn the door goes on the last of them, so every dungeon has its way out.
void PlaceDungeonExits(Carver& c, DungeonLayout& out, int x0, int y0) {
    c.Set(x0, y0 + 1, L'{');
    out.StartX = x0 - 2;
    out.StartY = y0 - 2;
    c.Set(x0 - 1, y0 - 2, L'G');
    c.Set(x0 - 1, y0 - 1, L'G');
    c.Set(x0 + 1, y0 + 1, L'G');
    c.Set(x0 - 1, y0, L'G');

    const std::vector<bool> walkable = c.Walkable(x0, y0 + 2);
    int lastX = x0, lastY = y0 + 2;
    auto floor = [&](int x, int y) {
        if (c.At(x, y) != L'{') c.Set(x, y, L'G');
    };
    auto place = [&](int x, int y, bool wide) {
        c.Set(x, y, L'q');
        out.ExitX = x - 2;
        out.ExitY = y - 2;
        floor(x, y + 1);
        floor(x - 1, y + 1);
        if (wide) {
            floor(x + 1, y - 1);
            floor(x - 1, y - 1);
        }
    };
    for (int y = 0; y < kDungeonSize; ++y) {
        for (int x = 0; x < kDungeonSize; ++x) {
            if (!walkable[static_cast<std::size_t>(y * kDungeonSize + x)] || c.At(x, y + 1) == L'{') continue;
            const int r = RandomInt(1, 10);
            if (r == 2 || r == 3) {
                place(x, y, r == 2);
                return;
            }
            lastX = x;
            lastY = y;
        }
    }
    place(lastX, lastY, false);
}

bool SaveTextFile(const std::wstring& name, const wchar_t* ext, const TextWriter& w) {
    return w.Save(World::NewSavedFile(name, ext));
}

}  // namespace

void CarveRoom(DungeonGrid& grid, int x, int y, int dir, int depth) { Carver(grid).MakeRoom(x, y, dir, depth); }

DungeonLayout CarveDungeon(int startX, int startY) {
    DungeonLayout out;
    for (auto& row : out.grid) row.fill(L'a');
    Carver c(out.grid);
    c.MakeRoom(startX, startY, 1, 0);
    PlaceDungeonExits(c, out, startX, startY);
    return out;
}

bool GenerateDungeon(const DungeonSpec& spec) {
    if (!InCarvingSquare(spec.StartX, spec.StartY) || !IsPlainName(spec.DungeonName)) return false;
    if (spec.Populate && !IsPlainName(spec.MonsterTemplate)) return false;
    const DungeonLayout d = CarveDungeon(spec.StartX, spec.StartY);

    TextWriter coords;
    coords.PrintNumber(d.StartX);
    coords.PrintNumber(d.StartY);
    coords.PrintText(spec.UpTarget);
    coords.PrintNumber(spec.UpTargetX);
    coords.PrintNumber(spec.UpTargetY);
    coords.PrintNumber(d.ExitX);
    coords.PrintNumber(d.ExitY);
    coords.PrintText(spec.ExitTarget);
    coords.PrintNumber(spec.ExitTargetX);
    coords.PrintNumber(spec.ExitTargetY);

    TextWriter map;
    for (const auto& row : d.grid) map.PrintText(std::wstring_view(row.data(), row.size()));
    TextWriter tiles;
    tiles.PrintText(L"4");
    tiles.PrintText(L"#This is a TileSet type file.Do not remove this Line!");

    // A dungeon made again under an old name holds only what this one made.
    const bool ok = SaveTextFile(spec.DungeonName, L".crd", coords) && SaveTextFile(spec.DungeonName, L".map", map) &&
                    SaveTextFile(spec.DungeonName, L".tle", tiles) && SaveTextFile(spec.DungeonName, L".itm", TextWriter()) &&
                    (spec.Populate ? PopulateDungeon(d.grid, spec.DungeonName, spec.MonsterHPBonus, spec.MonsterStrengthBonus,
                                                     spec.MaxMonsters, spec.MonsterTemplate)
                                   : SaveTextFile(spec.DungeonName, L".lst", TextWriter()));
    if (!ok) TellPlaceNotMade(spec.DungeonName);
    return ok;
}

bool PopulateDungeon(const DungeonGrid& grid, const std::wstring& name, int hpBonus, int strBonus, int maxCount,
                     const std::wstring& templateFile) {
    struct Template {
        std::wstring name, talk, weapon, die, symbol;
        double strength = 0, hp = 0, tactic = 0;
        bool good = false;
    };
    std::vector<Template> templates;
    if (IsPlainName(templateFile)) {
        if (auto reader = TextReader::Open(GamePath(L"\\maps\\" + templateFile))) {
            std::wstring v[9];
            // Whole records of nine values only, and no more than the table holds.
            while (templates.size() < kMaxTemplates) {
                int got = 0;
                while (got < 9 && reader->ReadItem(v[got])) ++got;
                if (got < 9) break;
                Template t;
                t.name = v[0];
                t.talk = v[1];
                t.strength = Val(v[2]);
                t.hp = Val(v[3]);
                t.weapon = v[4];
                t.die = v[5];
                t.good = v[6] == L"#TRUE#";
                t.tactic = Val(v[7]);
                t.symbol = v[8];
                if (!t.name.empty()) templates.push_back(std::move(t));
            }
        }
    }

    TextWriter list;
    int placed = 0;
    // The count is tested after each floor cell's draw: the first floor cell always draws.
    for (int y = 0; y < kDungeonSize; ++y) {
        for (int x = 0; x < kDungeonSize; ++x) {
            if (grid[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] != L'G') continue;
            if (!templates.empty()) {
                const Template& t = templates[static_cast<std::size_t>(Int(Rnd() * static_cast<double>(templates.size())))];
                list.Text(t.name).Number(t.hp + hpBonus).Text(t.symbol).Number(static_cast<double>(CInt(t.tactic)))
                    .Text(t.weapon).Number(x - 2).Number(y - 3).Number(static_cast<double>(CInt(t.strength + strBonus)))
                    .Text(t.talk).Text(t.die).Text(L"").Bool(t.good);
                list.EndRecord();
            }
            if (++placed >= maxCount) return SaveTextFile(name, L".lst", list);
        }
    }
    return SaveTextFile(name, L".lst", list);
}

}  // namespace morvath
