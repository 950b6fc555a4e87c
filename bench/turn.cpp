// One turn in a crowded place: every character of the place makes its move, as after each
// key. The characters stand on every other cell of a place of 101 rows, as long as they need,
// and two of three walk about at random while the third stays. The cost must grow with the
// characters, not with their square.
// Goal: 100,000 characters in under 16 ms a turn (a key in a place of 100,000 tiles, full).
#include <benchmark/benchmark.h>

#include "game/game_rules.h"
#include "spread.h"
#include "town.h"

using namespace morvath;

namespace {

void SetUpCrowd(long characters) {
    StartInTown(28, L"crowd");
    auto& g = modVarsAndMain;
    World& w = *g.TheWorld;
    const long columns = 2 * characters / 90 + 10;
    for (int row = 0; row <= World::kMaxRow; ++row) w.SetRow(row, std::wstring(static_cast<std::size_t>(columns), L'G'));
    // The hero stands apart, so that nobody starts a fight.
    g.PlayerX = 1;
    g.PlayerY = 1;
    long placed = 0;
    for (int row = 4; row < World::kMaxRow && placed < characters; ++row) {
        for (long col = 4 + row % 2; col < columns && placed < characters; col += 2) {
            AddTownsman(col - 3, row - 3, placed % 3 == 0);
            ++placed;
        }
    }
    PutNPCsOnMap();
}

void BM_TurnWithCharacters(benchmark::State& state) {
    SetUpCrowd(state.range(0));
    if (modVarsAndMain.NPCs->Count() != state.range(0)) state.SkipWithError("the place holds fewer characters");
    for (auto _ : state) {
        Do_Change_Of_World();
        benchmark::DoNotOptimize(modVarsAndMain.TheWorld->Turn);
    }
    state.counters["characters"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_TurnWithCharacters)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->Apply(Spread);

}  // namespace

int main(int argc, char** argv) {
    InstallGameRules();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
