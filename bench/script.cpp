// How fast the interpreter takes simple lines: assignments, arithmetic and conditions in a
// loop, the shape of the game's counting and quest scripts. Goal: a million lines a second.
#include <benchmark/benchmark.h>

#include "game/game_rules.h"
#include "script/cscript.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

constexpr int kRounds = 20000;

// Runs a loop of kRounds rounds; `body` follows the while line, `linesPerRound` lines of it
// are taken each round.
void RunLoop(benchmark::State& state, const std::wstring& body, int linesPerRound) {
    InstallGameRules();
    ResetGame();
    modVarsAndMain.CreateRoots();
    modVarsAndMain.scriptRun.lineBudget = 100000000;
    const std::wstring text = L"var i;x;y;s\r\ni = \"0\"\r\nwhile i < \"" + std::to_wstring(kRounds) + L"\"\r\n" + body;
    for (auto _ : state) {
        Cscript s;
        s.Script = text;
        s.ScriptExecute();
    }
    double lines = static_cast<double>(state.iterations()) * kRounds * linesPerRound;
    state.counters["lines/s"] = benchmark::Counter(lines, benchmark::Counter::kIsRate);
}

void BM_ScriptLoop(benchmark::State& state) {
    // Three assignments, an if whose body is passed over, the body's line, its end and the
    // loop's end.
    RunLoop(state, L"i = i + \"1\"\r\nx = i * \"2\"\r\ny = x - i\r\nif y <> i\r\ny = \"0\"\r\nend\r\nend\r\n", 7);
}
BENCHMARK(BM_ScriptLoop)->Unit(benchmark::kMillisecond);

void BM_ScriptTextCompare(benchmark::State& state) {
    // Two assignments, an if that holds, its body, and the end that closes the if and
    // re-tests the loop.
    RunLoop(state,
            L"i = i + \"1\"\r\ns = \"Здравствуй\" & \" путник\"\r\nif s == \"здравствуй путник\"\r\ns = \"\"\r\nend\r\n", 5);
}
BENCHMARK(BM_ScriptTextCompare)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
