#pragma once
// The skills of the skill list, one routine each, for the dispatcher (game/skills.cpp).
// Each returns true when its run ends with the carried weight recomputed, false when it
// ended at once (the player chose nothing, or the skill says so).
#include <memory>

#include "world/item.h"

namespace morvath {

bool CureIllness();
bool Healing();
bool Consecrate();
bool Theft();

bool HerbLore();
bool Alchemy();
bool Smithing();
bool Cooking(int row);
// One piece of meat, roasted when the hero faces a campfire or a stove.
void AddMeat();

bool Campfire();
bool Fishing();

bool BowShot();
// The arrow reaches cell (x, y): true when it hit a character there (the flight ends).
// `hand` is the equipment row of the bow.
bool ArrowHit(int x, int y, int hand, const std::shared_ptr<Item>& arrow);

// Uses up one piece of a carried item: a stack loses one, a single item leaves the
// inventory. Nothing happens to an item no longer carried.
void UseUpOnePiece(const std::shared_ptr<Item>& item);
// Appends a new carried item with the given fields; the others keep their initial values.
std::shared_ptr<Item> AddCarried(const std::wstring& name, const std::wstring& info, long kind, double weight,
                                 const std::wstring& script);
// The character killed by the hero's spell or arrow: its death script speaks for it, and
// only this very character leaves the location.
void BuryKilled(const std::shared_ptr<struct NPC>& npc);

}  // namespace morvath
