#pragma once
// The five spells of the spell list, and repeating the last one (key Z).
#include <array>
#include <string_view>

#include "world/game_state.h"

namespace morvath {

void CastCutWeeds();
void CastLightning();
void CastFireball();
void CastHealingLight();
void CastNight();
// Casts again the spell named by LastSpell: cut weeds, lightning, fireball or healing light
// (1..4); anything else, the night included, does nothing.
void RepeatLastSpell();

// The lightning's strike on the character standing on cell (x, y), in hero coordinates.
void LightningStrikeAt(int x, int y);
// The fireball's flight from the hero in a facing direction, hitting round every cell.
void FireballFly(int direction);
// The fireball burns every character on row y within one column of x.
void FireballHitAt(int x, int y);

// The spell list in the order of its options (LastSpell is the option + 1): the caption,
// the flag that says the hero knows it, and the casting.
struct Spell {
    std::wstring_view caption;
    bool GameState::*known;
    void (*cast)();
};
inline constexpr std::array<Spell, 5> kSpells = {{
    {L"Срезать бурьян", &GameState::CutSpellKnown, &CastCutWeeds},
    {L"Молния", &GameState::LightningKnown, &CastLightning},
    {L"Огненный шар", &GameState::FireballKnown, &CastFireball},
    {L"Лечение светом", &GameState::HealingKnown, &CastHealingLight},
    {L"Заклинание Ночи", &GameState::NightKnown, &CastNight},
}};
static_assert(kSpells.size() == SpellList::kClose, "the option after the spells closes the list");

}  // namespace morvath
