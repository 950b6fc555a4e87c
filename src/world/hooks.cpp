#include "world/hooks.h"

#include <utility>

namespace morvath {

WorldHooks& Hooks() {
    static WorldHooks hooks;
    return hooks;
}

void RunScript(std::wstring text) {
    if (Hooks().runScript) Hooks().runScript(std::move(text));
}

void StartFightAt(double x, double y) {
    if (Hooks().startFight) Hooks().startFight(x, y);
}

}  // namespace morvath
