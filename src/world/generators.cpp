// Locations made from nothing: plains and forests for wilderness battles, and the levels of
// the endless cave.
#include <deque>
#include <vector>

#include "platform/frontend.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/maze.h"
#include "world/quest_flags.h"
#include "world/turn.h"

namespace morvath {
namespace {

int RndInt(double n) { return static_cast<int>(Int(Rnd() * n)); }

// A cave's floor is what the maze did not carve, and the rock walls off both side lanes, so
// now and then the open row where the hero arrives (51) is cut off from the row under the
// ways out (7): a cave with no way out. Then the fewest rock cells that join the two rows
// become floor; a cave whose rows are joined stays as it is.
void JoinArrivalToWaysOut(World& w) {
    constexpr int kTop = 7, kBottom = 51, kLeft = 7, kRight = 78;  // rows, and columns from 1
    constexpr int kWidth = kRight - kLeft + 1, kCells = kWidth * (kBottom - kTop + 1);
    std::vector<char> rocks(kCells);
    for (int row = kTop; row <= kBottom; ++row) {
        const wchar_t* cells = w.Row(row).data() + (kLeft - 1);
        char* to = rocks.data() + (row - kTop) * kWidth;
        for (int col = 0; col < kWidth; ++col) to[col] = cells[col] != L'G';
    }
    std::vector<int> cost(kCells, kCells), from(kCells, -1);
    std::deque<int> todo;
    for (int cell = kCells - kWidth; cell < kCells; ++cell) {
        if (rocks[static_cast<std::size_t>(cell)]) continue;
        cost[static_cast<std::size_t>(cell)] = 0;
        todo.push_back(cell);
    }
    // Floor costs nothing and rock one cell each, so the first cell of row 7 taken from the
    // front of the queue ends the cheapest way.
    while (!todo.empty()) {
        const int cell = todo.front();
        todo.pop_front();
        if (cell < kWidth) {
            for (int at = cell; at >= 0; at = from[static_cast<std::size_t>(at)]) {
                if (rocks[static_cast<std::size_t>(at)]) w.setPosMap(kTop + at / kWidth, kLeft + at % kWidth, L"G");
            }
            return;
        }
        const int col = cell % kWidth;
        const int around[4] = {cell - kWidth, cell + kWidth, col > 0 ? cell - 1 : -1, col + 1 < kWidth ? cell + 1 : -1};
        for (int next : around) {
            if (next < 0 || next >= kCells) continue;
            const int step = rocks[static_cast<std::size_t>(next)];
            const int reach = cost[static_cast<std::size_t>(cell)] + step;
            if (reach >= cost[static_cast<std::size_t>(next)]) continue;
            cost[static_cast<std::size_t>(next)] = reach;
            from[static_cast<std::size_t>(next)] = cell;
            if (step) {
                todo.push_back(next);
            } else {
                todo.push_front(next);
            }
        }
    }
}

}  // namespace

// An empty battleground walled by forest, its four exits leading back to where the hero
// stood on the wilderness map.
void World::LayOutGround() {
    ClearLocations();
    modVarsAndMain.NPCs->Clear();
    FillBorders(L"Њ");
    AddStandartLocations();
}

void World::Generate_Plains() {
    auto& g = modVarsAndMain;
    LayOutGround();
    g.PlayerX = 20;
    g.PlayerY = 20;
    MapType = kMapForest;
}

void World::Generate_Forest() {
    auto& g = modVarsAndMain;
    LayOutGround();
    Randomize();
    for (int row = 7; row <= 34; ++row) {
        for (int col = 7; col <= 44; ++col) {
            int r = RndInt(25);
            if (r == 3 || r == 4 || r == 5 || r == 16) setPosMap(row, col, L"Њ");
            else if (r == 7) setPosMap(row, col, L"?");
        }
    }
    g.PlayerX = 20;
    g.PlayerY = 20;
    setPosMap(23, 23, L"G");
    setPosMap(23, 24, L"G");
    setPosMap(23, 22, L"G");
    MapType = kMapForest;
}

void World::Generate_Cave_World() {
    auto& g = modVarsAndMain;
    ClearLocations();
    WorldName = L"AG";
    if (InfLevel > g.QuestFlags[kFlagDeepestCave]) g.QuestFlags[kFlagDeepestCave] = InfLevel;

    CMaze maze;
    maze.DrawMaze(70, 70);
    Randomize();
    g.NPCs->Clear();
    g.PlayerX = 11;
    g.PlayerY = 11;

    const std::wstring rock8 = RepeatString(L"a", 82);
    for (int row = 0; row <= 7; ++row) SetRow(row, rock8);
    for (int i = 0; i <= 70; ++i) SetRow(i + 7, RepeatString(L"a", 6) + maze.GetMazeString(static_cast<std::int16_t>(i)) + RepeatString(L"a", 6));
    for (int row = 51; row <= 76; ++row) SetRow(row, rock8);
    SetRow(51, RepeatString(L"a", 6) + RepeatString(L"G", 72) + RepeatString(L"a", 6));
    for (int row = 8; row <= 48; ++row) setPosMap(row, 7, L"a");
    for (int row = 8; row <= 48; ++row) {
        setPosMap(row, 77, L"a");
        setPosMap(row, 78, L"a");
        setPosMap(row, 79, L"a");
    }
    JoinArrivalToWaysOut(*this);

    // The way up (which, in the endless cave, leads one level deeper like every stair).
    LocCount = 1;
    Record(1) = LocationRecord{Variant(7), Variant(3), Variant(L"AG"), Variant(48), Variant(48)};
    setPosMap(6, 10, L"q");

    Randomize();
    LocCount = 2;
    for (int c = 7; c <= 63; ++c) {
        if (RndInt(11) != 3) continue;
        setPosMap(7, c, L"G");
        setPosMap(7, c - 1, L"G");
        setPosMap(7, c + 1, L"G");
        Randomize();
        if (RndInt(5) == 3) {
            Record(LocCount) = LocationRecord{Variant(c - 3), Variant(3), Variant(L"N1"), Variant(64), Variant(5)};
            setPosMap(6, c, L"#");
        } else {
            Record(LocCount) = LocationRecord{Variant(c - 3), Variant(3), Variant(L"AG"), Variant(48), Variant(48)};
            setPosMap(6, c, L"q");
        }
        if (LocCount != 29) LocCount += 1;
    }

    const double depth = InfLevel;
    for (int i = 0; i <= 70; ++i) {
        Randomize();
        int r = RndInt(9);
        bool make = r == 7 || r == 2 || r == 8 || r == 6 || (r == 5 && (g.Player->Level >= 5 || g.Player->Doom >= 2));
        if (!make) continue;
        auto npc = g.NPCs->Add();
        g.CurNPC = npc;
        npc->X = static_cast<float>(Int(Rnd() * 50 + 6));
        npc->Y = static_cast<float>(Int(Rnd() * 50 + 6));
        npc->Tactic = kTacticApproach;
        switch (r) {
            case 7:
                npc->NPCName = L"Паук";
                npc->Symbol = L"©";
                npc->Weapon = L"к";
                npc->Strenght = depth;
                Randomize();
                npc->HP = Int(Rnd() * 4) + depth;
                npc->DieScript_File = L"spider.die";
                break;
            case 5:
                npc->NPCName = L"Тварь";
                npc->Symbol = L"t";
                npc->Weapon = L"к";
                npc->Strenght = Int(Rnd() * 10) + depth;
                Randomize();
                npc->HP = Int(Rnd() * 20) + depth;
                npc->DieScript_File = L"tvar.die";
                break;
            case 2:
            case 8:
                npc->NPCName = L"Псиглавец";
                npc->Symbol = L"®";
                npc->Weapon = L"м";
                npc->Strenght = Int(Rnd() * static_cast<double>(g.Player->Level)) + depth;
                Randomize();
                npc->HP = Rnd() * 5 + 6 + depth;
                npc->DieScript_File = L"dog1.die";
                break;
            case 6:
                npc->NPCName = L"Псиглавец";
                npc->Symbol = L"™";
                npc->Weapon = L"М";
                npc->Strenght = Int(Rnd() * 5) + 2 + depth;
                npc->HP = Int(Rnd() * 10) + 10 + depth;
                npc->AIScript_File = L"temp.tai";
                npc->DieScript_File = L"dog2.die";
                break;
        }
    }

    for (int i = 6; i <= 48; ++i) {
        Randomize();
        int r = RndInt(3);
        if (r != 1 && r != 2) continue;
        Randomize();
        int x = RndInt(50) + 7;
        if (GetPosMap(x, i + 3) == L"a") setPosMap(i + 3, x, r == 2 ? L"!" : L"d");
    }

    if (InfLevel == g.QuestFlags[kFlagRevivalDepth] + 50) {
        // The ring lies on the whole-number cell of its heap mark, so the hero can pick it up.
        auto ring = mapItemCol->Add();
        g.CurItem = ring;
        ring->ItemName = L"Кольцо возрождения";
        ring->ItemInfo = L"Артифакт";
        ring->ItemType = kArtifact;
        ring->Weight = 0.2;
        ring->itembalance = 0;
        ring->X = 20;
        ring->Y = 20;
        setPosMap(23, 23, L"9");
    }

    MapType = kMapCave;
    ResetSearchedPlaces();
    PutNPCsOnMap();
    UI().Redraw();
    g.PlayerX = static_cast<int>(Int(Rnd() * 20)) + 10;
    g.PlayerY = 48;
}

}  // namespace morvath
