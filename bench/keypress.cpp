// One key press on a town map through the core (the move, the turn, the location check and
// the view's cells) and the view painted offscreen at twice its size, as a window shows it.
// Goals: a median of at most 1 ms; in a place of 100,000 tiles, full of characters, under
// 16 ms (the cost of a key grows with the characters that move, not with their square).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "game/game_rules.h"
#include "game/keymap.h"
#include "game/screen.h"
#include "platform/files.h"
#include "ui/game_screen.h"
#include "world/game_state.h"
#include "spread.h"
#include "town.h"

using namespace morvath;

namespace {

// A town of `rows` x `columns` tiles with water, walls, people, animals and a few doors.
void SetUpTown(int rows, int columns) {
    StartInTown(11, L"bench");
    auto& g = modVarsAndMain;
    g.Player->BeginMaxWeight = 100;
    g.Player->MaxWeight = 100;
    World& w = *g.TheWorld;
    const std::wstring pattern = L"GGGGB<0~\u043FGGQAWSEDRF-GGZX*/\\#GGG1234r%\u00A9GGG9!()[]G";
    for (int row = 0; row < rows; ++row) {
        std::wstring r;
        for (int col = 0; col < columns; ++col) r += pattern[static_cast<std::size_t>((row * 7 + col * 3) % pattern.size())];
        w.SetRow(row, r);
    }
    // The hero walks to and fro on an open street of row 33.
    w.SetRow(33, std::wstring(static_cast<std::size_t>(columns), L'G'));
    for (int i = 0; i < 30; ++i) w.addLocation(Variant(i * 2), Variant(10), Variant(L"house"), Variant(1), Variant(1));
    g.PlayerX = 25;
    g.PlayerY = 30;
    g.FacingDir = 3;
}

// The hero steps right and left by turns, and the view is drawn as the window draws it.
void WalkToAndFroAndDraw(benchmark::State& state) {
    int key = kVkRight;
    for (auto _ : state) {
        PressKey(key, 0);
        key = key == kVkRight ? kVkLeft : kVkRight;
        const QImage view = ui::RenderView(modVarsAndMain.gameScreen.view)
                                .scaled(2 * View::kPixels, 2 * View::kPixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        benchmark::DoNotOptimize(view.constBits());
    }
}

void BM_KeyPressAndRedraw(benchmark::State& state) {
    SetUpTown(61, 60);
    WalkToAndFroAndDraw(state);
}
BENCHMARK(BM_KeyPressAndRedraw)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true)->Apply(Spread);

// The same key in places of 10,000 and 100,000 tiles (100 rows of 100 and of 1,000), empty,
// or full: a character on every open cell off the hero's street, two of three walking about
// (about 30,000 in the larger place).
void BM_KeyPressInPlaceOfTiles(benchmark::State& state) {
    const int columns = static_cast<int>(state.range(0) / 100);
    SetUpTown(100, columns);
    auto& g = modVarsAndMain;
    for (int row = 3; row < 100 && state.range(1) != 0; ++row) {
        for (int col = 4; col <= columns && row != 33; ++col) {
            if (g.TheWorld->GetPosMap(col, row) == L"G") AddTownsman(col - 3, row - 3, (g.NPCs->Count() + 1) % 3 == 0);
        }
    }
    PutNPCsOnMap();
    state.counters["characters"] = static_cast<double>(g.NPCs->Count());
    WalkToAndFroAndDraw(state);
}
BENCHMARK(BM_KeyPressInPlaceOfTiles)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Apply(Spread);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    morvath::InstallGameRules();
    // The game's own pictures, when the game folder has been built beside the benchmark.
    const fs::path game = fs::path(QCoreApplication::applicationDirPath().toStdString()) / "game";
    if (fs::exists(game)) SetGameFolder(game);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
