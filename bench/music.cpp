// A change of tune, as a fight that starts or ends makes it, on the thread that handles keys:
// the playing tune stops and the next one starts on the instruments already loaded. Rendered
// without an audio device, one short block after each change, so that the new tune has
// really begun. Beside it, the same change when every tune brought a synthesizer and a
// soundfont of its own.
// Goal: a median change of at most 0.5 ms, well inside the key press's own millisecond.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "platform/files.h"
#include "services/music.h"

using namespace morvath;

namespace {

fs::path& MusicFolder() {
    static fs::path folder;
    return folder;
}

void Switch(benchmark::State& state, bool newInstruments) {
    auto soundFont = FindSoundFont();
    if (!soundFont) {
        state.SkipWithError("no General MIDI soundfont installed");
        return;
    }
    const fs::path tunes[2] = {MusicFolder() / "Fight.mid", MusicFolder() / "Town.mid"};
    auto synth = Synthesizer::Load(*soundFont);
    if (!synth || !synth->Play(tunes[0])) {
        state.SkipWithError("the tunes do not play");
        return;
    }
    benchmark::DoNotOptimize(synth->Render(4096).data());
    int next = 1;
    for (auto _ : state) {
        if (newInstruments) synth = Synthesizer::Load(*soundFont);
        if (!synth->Play(tunes[next])) {
            state.SkipWithError("the tune did not start");
            break;
        }
        benchmark::DoNotOptimize(synth->Render(64).data());
        next ^= 1;
    }
}

void BM_SwitchTune(benchmark::State& state) { Switch(state, false); }
BENCHMARK(BM_SwitchTune)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SwitchTuneWithNewSynthesizer(benchmark::State& state) { Switch(state, true); }
BENCHMARK(BM_SwitchTuneWithNewSynthesizer)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    // The tunes of the game folder built beside the benchmark.
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    MusicFolder() = self.parent_path() / "game" / "music";
    if (ec || !fs::exists(MusicFolder() / "Town.mid")) {
        std::fprintf(stderr, "bench_music: build the game folder first (%s)\n", MusicFolder().c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
