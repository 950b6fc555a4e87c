#include "platform/random.h"

#include <random>

#include "platform/clock.h"
#include "platform/numbers.h"

namespace morvath {
namespace {

struct Source {
    std::mt19937_64 engine;
    bool seeded = false;
};

Source& source() {
    static Source s;
    if (!s.seeded) {
        s.engine.seed(ClockTicks());
        s.seeded = true;
    }
    return s;
}

double Uniform(std::mt19937_64& engine) {
    // 53 random bits give every double in [0, 1) on the grid of 2^-53; never 1.0.
    return static_cast<double>(engine() >> 11) * (1.0 / 9007199254740992.0);
}

}  // namespace

double Rnd() {
    if (double pinned; TakePinnedDraw(pinned)) return pinned;
    return Uniform(source().engine);
}

void Randomize() { (void)source(); }

void SeedRandom(std::uint64_t seed) {
    source().engine.seed(seed);
    source().seeded = true;
}

int RandomInt(int lo, int hi) {
    if (lo > hi) return 0;
    if (lo == hi) return lo;
    return lo + static_cast<int>(Int(Rnd() * (static_cast<double>(hi) - lo)));
}

double CosmeticRnd() {
    // Mixed, so that it does not run in step with the rules' source seeded in the same tick.
    static std::mt19937_64 engine(ClockTicks() ^ 0x9E3779B97F4A7C15ULL);
    if (double pinned; TakePinnedDraw(pinned)) return pinned;
    return Uniform(engine);
}

}  // namespace morvath
