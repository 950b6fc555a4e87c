#pragma once
// What the world sets off without knowing it: scripts (a place's cell and entry scripts, a
// character's talk and death) and the fight with a character that reaches the hero. The
// script language and the fight rules sit above the world; the game installs them here at
// start-up (InstallGameRules), so the model never includes the layers that act on it.
// Until then nothing happens: a program that only reads files runs no scripts.
#include <string>

namespace morvath {

struct WorldHooks {
    // Runs a script's text as a new run.
    void (*runScript)(std::wstring text) = nullptr;
    // Starts a fight with the character standing on hero-coordinate cell (x, y).
    void (*startFight)(double x, double y) = nullptr;
};

// The hooks of this process; wiring, not game state, so ResetGame leaves them alone.
WorldHooks& Hooks();

void RunScript(std::wstring text);
void StartFightAt(double x, double y);

}  // namespace morvath
