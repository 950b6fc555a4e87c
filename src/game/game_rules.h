#pragma once
// Wires the rules into the world below them: the script language runs the world's scripts
// and characters that reach the hero start fights. Called once at start-up by every program
// that plays (the window, the tests, the benchmarks), before a game begins.

namespace morvath {

void InstallGameRules();

}  // namespace morvath
