#pragma once
// One pseudo-random source for the game's rules. It is seeded once (from the clock at start,
// or by a test); the game's many "reseed from the clock" points do not reseed, because a
// clock that has not ticked would hand every draw in a loop the same number.
//
// What only the eye sees (an animal's frame, a fish in the water) draws from a second source
// of its own, so that how often a window repaints never changes the game: the same seed and
// the same keys make the same game in a window and without one.
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

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

// Tests pin the next draws: while a PinnedDraws lives, Rnd() and the cosmetic source hand
// out its numbers first, in order, and then go on with their own sequences.
inline std::deque<double>& PinnedDrawQueue() {
    static std::deque<double> queue;
    return queue;
}
inline bool TakePinnedDraw(double& draw) {
    auto& queue = PinnedDrawQueue();
    if (queue.empty()) return false;
    draw = queue.front();
    queue.pop_front();
    return true;
}
class PinnedDraws {
public:
    PinnedDraws(std::initializer_list<double> draws) { PinnedDrawQueue().assign(draws); }
    explicit PinnedDraws(const std::vector<double>& draws) { PinnedDrawQueue().assign(draws.begin(), draws.end()); }
    ~PinnedDraws() { PinnedDrawQueue().clear(); }
    PinnedDraws(const PinnedDraws&) = delete;
    PinnedDraws& operator=(const PinnedDraws&) = delete;
    // Draws not yet taken.
    std::size_t left() const { return PinnedDrawQueue().size(); }
};

}  // namespace morvath
