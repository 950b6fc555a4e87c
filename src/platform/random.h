#pragma once
// One pseudo-random source for the game's rules. It is seeded once (from the clock at start,
// or by a test); the game's many "reseed from the clock" points do not reseed, because a
// clock that has not ticked would hand every draw in a loop the same number.
//
// What only the eye sees (an animal's frame, a fish in the water) draws from a second source
// of its own, so that how often a window repaints never changes the game: the same seed and
// the same keys make the same game in a window and without one.
#include <cstdint>

namespace morvath {

// A fresh uniform number in [0, 1).
double Rnd();
// The game's "reseed from the clock" statement: deliberately a no-op after the first seeding.
void Randomize();
// Tests and replays fix the sequence with this.
void SeedRandom(std::uint64_t seed);
// A uniform whole number from lo up to but not including hi; lo when lo == hi; 0 when lo > hi.
int RandomInt(int lo, int hi);

// A uniform number in [0, 1) from the cosmetic source; never seeded by SeedRandom.
double CosmeticRnd();

}  // namespace morvath
