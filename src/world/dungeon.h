#pragma once
// Dungeons made on demand by the script command gendungeon: a 57 x 57 grid of rooms and
// corridors with an up staircase at the first room and an exit door, written into \saved\ as
// an ordinary location (map, table, painter kind, characters and floor items).
#include <array>
#include <string>

#include "platform/numbers.h"

namespace morvath {

struct DungeonSpec {
    Integer StartX;   // grid column of the first room
    Integer StartY;   // grid row of the first room
    std::wstring DungeonName;  // location id and file stem in the save folder
    std::wstring UpTarget;     // where the staircase leads
    Integer UpTargetX;
    Integer UpTargetY;
    std::wstring ExitTarget;   // where the exit door leads
    Integer ExitTargetX;
    Integer ExitTargetY;
    bool Populate = false;     // place monsters from the template file
    Integer MonsterHPBonus;
    Integer MonsterStrengthBonus;
    Integer MaxMonsters;       // floor cells, from the top, that draw a monster
    std::wstring MonsterTemplate;  // the monster template file in the maps folder
};

constexpr int kDungeonSize = 57;
using DungeonGrid = std::array<std::array<wchar_t, kDungeonSize>, kDungeonSize>;  // [row][column]

// What one generation carved: the grid and the two records' positions (hero coordinates).
struct DungeonLayout {
    DungeonGrid grid{};
    int StartX = 0, StartY = 0;  // the staircase
    int ExitX = 0, ExitY = 0;    // the floor cell below the exit door
};

// Carves one room at (x, y) on the side that dir points to (1 down, 2 left, 3 up, 4 right;
// any other dir makes none) and the corridors it starts, `depth` rooms and corridors deep.
void CarveRoom(DungeonGrid& grid, int x, int y, int dir, int depth);

// Carves a dungeon from the first room at grid (startX, startY); both must lie in 5..49.
// The hero comes in on the first room's floor below the staircase, grid (startX, startY + 2),
// which is where the location leading in must put him: from there the exit is always walkable.
DungeonLayout CarveDungeon(int startX, int startY);

// The whole generation into \saved\. Nothing is written when the start lies outside 5..49
// or a name is not a plain file name; false then, or when a file could not be written (the
// player is then told).
bool GenerateDungeon(const DungeonSpec& spec);

// Monsters from the template file for the first maxCount floor cells of the grid, written
// as the location's character list (always written, empty when nothing was placed).
bool PopulateDungeon(const DungeonGrid& grid, const std::wstring& name, int hpBonus, int strBonus, int maxCount,
                     const std::wstring& templateFile);

}  // namespace morvath
