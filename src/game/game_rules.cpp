#include "game/game_rules.h"

#include <utility>

#include "game/fight.h"
#include "game/script_commands.h"
#include "script/cscript.h"
#include "world/hooks.h"

namespace morvath {

void InstallGameRules() {
    auto& hooks = Hooks();
    hooks.runScript = [](std::wstring text) {
        Cscript run;
        run.Script = std::move(text);
        run.ScriptExecute();
    };
    hooks.startFight = &StartFight;
    RegisterGameCommands();
}

}  // namespace morvath
