#pragma once
// Content made at random or by the calendar when a game starts.

namespace morvath {

// Three to six draws of daggers and food into the inventory (at least one food).
void GenerateStartInventory();
// Adjusts the hero's Luck by today's date (the game's clock, platform/clock.h).
void ApplyCalendarLuck();
// The tramp's encounter on a fresh battleground: eight spiders that keep still and the
// tramp Игорь among them.
void PopulateSpiderCave();
// The lone warrior's encounter on a fresh battleground.
void AddUnknownWarrior();

}  // namespace morvath
