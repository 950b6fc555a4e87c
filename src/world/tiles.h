#pragma once
// Who may step on which tile: the one table for the hero's steps (the up key has its own
// rule: doors open upwards), the wilderness map's own ground, and the characters' steps.
// A tile not listed stops everyone.
#include <array>
#include <string>

namespace morvath {

enum TileWay : unsigned {
    kHeroSteps = 1,        // any arrow key, on every map
    kHeroStepsUp = 2,      // the up key, on every map
    kWildSteps = 4,        // any arrow key, on the wilderness map only
    kWildStepsUp = 8,      // the up key, on the wilderness map only
    kDoorUp = 16,          // the up key enters it as a door (not on the wilderness map)
    kCharacterSteps = 32,  // characters walk on it
};

struct TileRule {
    wchar_t tile;
    unsigned ways;
};

inline constexpr std::array<TileRule, 16> kTileRules = {{
    {L'G', kHeroSteps | kHeroStepsUp | kCharacterSteps},  // grass
    {L'9', kHeroSteps | kHeroStepsUp | kCharacterSteps},  // things lying on the ground
    {L'\u043F', kHeroSteps | kHeroStepsUp},               // п, a tree stump
    {L'{', kHeroSteps | kHeroStepsUp},
    {L'+', kHeroSteps | kDoorUp},
    {L'q', kHeroSteps | kWildSteps | kWildStepsUp | kDoorUp},
    {L'#', kWildStepsUp | kDoorUp},
    {L'\u2019', kDoorUp},
    {L'B', kWildSteps | kWildStepsUp},
    {L'\u040A', kWildSteps | kWildStepsUp},  // Њ, the forest
    {L'1', kWildSteps | kWildStepsUp},
    {L'?', kWildSteps | kWildStepsUp},
    {L'v', kWildSteps | kWildStepsUp},
    {L'c', kWildSteps | kWildStepsUp},
    {L'R', kWildSteps | kWildStepsUp},
    {L'E', kWildSteps | kWildStepsUp},
}};

// True when `tile` is one tile whose rule has any of `ways`.
inline bool TileAllows(const std::wstring& tile, unsigned ways) {
    if (tile.size() != 1) return false;
    for (const auto& r : kTileRules) {
        if (r.tile == tile[0]) return (r.ways & ways) != 0;
    }
    return false;
}

}  // namespace morvath
