// "Вперёд!": character creation and the staged start (the maps unpacked from the archive,
// the start script with its houses, the start inventory, the weapon table, the first place)
// up to the game screen's view drawn and painted, for each of the five persons. The intro
// viewer is left out: it waits for the player. Runs in a copy of the built game folder.
// Goal: a median of at most 150 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <unistd.h>

#include "game/game_rules.h"
#include "game/new_game.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "ui/game_screen.h"
#include "world/game_state.h"
#include "spread.h"

using namespace morvath;

namespace {

void BM_NewGame(benchmark::State& state) {
    const int person = static_cast<int>(state.range(0));
    SeedRandom(3);
    for (auto _ : state) {
        if (!CreateCharacter(person, L"Святослав", false) || !InitGame(StartHooks{})) {
            state.SkipWithError("the game did not start");
            break;
        }
        const QImage view = ui::RenderView(modVarsAndMain.gameScreen.view)
                                .scaled(2 * View::kPixels, 2 * View::kPixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        benchmark::DoNotOptimize(view.constBits());
    }
}
BENCHMARK(BM_NewGame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->Apply(Spread);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    morvath::InstallGameRules();
    const fs::path game = fs::path(QCoreApplication::applicationDirPath().toStdString()) / "game";
    if (!fs::exists(game / "maps" / "data.uni")) {
        std::fprintf(stderr, "bench_new_game: build the game folder first (%s)\n", game.c_str());
        return 1;
    }
    // A new game empties \saved\ and writes the settings: never in the real game folder.
    const fs::path copy = fs::temp_directory_path() / ("morvath-bench-new-game-" + std::to_string(::getpid()));
    fs::copy(game, copy, fs::copy_options::recursive);
    for (const char* skip : {"morvath", "saved"}) fs::remove_all(copy / skip);
    fs::create_directories(copy / "saved");
    SetGameFolder(copy);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(copy);
    return 0;
}
