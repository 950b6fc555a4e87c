#pragma once
// Talking to the character next to the hero (T), the signs, and handing over coins or an
// item (G).

namespace morvath {

// Hand-over kinds of GiveNearby and GiveToNPC.
enum GiveKind : int { kGiveItem = 0, kGiveCoins = 1 };

// The first character (in collection order) above, below, right or left of the hero talks;
// with nobody there, a sign at the hero's position is read.
void TalkNearby();
void ShowSignText();
// The first adjacent character (tested right, left, down, up) is offered coins or an item.
void GiveNearby(int kind);
// The offer to character number `index` (1-based); its talk script decides what is taken.
void GiveToNPC(long index, int kind);

}  // namespace morvath
