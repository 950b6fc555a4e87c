#pragma once
// Content made at random or by the calendar when a game starts.

namespace morvath {

// Three to six draws of daggers and food into the inventory (at least one food).
void GenerateStartInventory();
// Adjusts the hero's Luck by today's date.
void ApplyCalendarLuck();
// The same rule for a given date: day of month, month 1..12, weekday Sunday = 1 .. Saturday = 7.
void ApplyCalendarLuck(int day, int month, int weekday);
// The tramp's encounter on a fresh battleground: eight spiders that keep still and the
// tramp Игорь among them.
void PopulateSpiderCave();
// The lone warrior's encounter on a fresh battleground.
void AddUnknownWarrior();

}  // namespace morvath
