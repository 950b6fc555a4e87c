// One whole recorded game replayed headless: the new game, every key and answer of the
// recording through the game screen's key handling, the fights, the ending and the hall of
// fame. Runs in a copy of the built game folder.
// Goal: at most 2 s for the recording.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "../tools/playthrough/replay.h"
#include "game/game_rules.h"

using namespace morvath;

namespace {

std::vector<playthrough::Step> gSteps;

void BM_Playthrough(benchmark::State& state) {
    for (auto _ : state) {
        ResetGame();
        playthrough::Player player;
        const auto outcome = playthrough::Replay(player).Run(gSteps);
        if (!outcome.ok) {
            state.SkipWithError(outcome.failure.c_str());
            break;
        }
        state.counters["keys"] = outcome.keys;
    }
}
BENCHMARK(BM_Playthrough)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    morvath::InstallGameRules();
    const fs::path game = fs::path(QCoreApplication::applicationDirPath().toStdString()) / "game";
    const fs::path recording = fs::path(MORVATH_SOURCE_DIR) / "tests" / "data" / "playthrough" /
                               (argc > 1 && argv[1][0] != '-' ? argv[1] : "good_monk.txt");
    if (!fs::exists(game / "maps" / "data.uni") || !fs::exists(recording)) {
        std::fprintf(stderr, "bench_playthrough: needs the built game folder and %s\n", recording.c_str());
        return 1;
    }
    gSteps = playthrough::ParseFile(recording);
    const fs::path copy = fs::temp_directory_path() / ("morvath-bench-playthrough-" + std::to_string(::getpid()));
    fs::create_directories(copy);
    playthrough::CopyGameFolder(game, copy);
    SetGameFolder(copy);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(copy);
    return 0;
}
