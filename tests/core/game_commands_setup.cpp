// The core tests run scripts as the game does: with the fight commands registered.
#include "game/script_commands.h"

namespace {

const bool registered = [] {
    morvath::RegisterGameCommands();
    return true;
}();

}  // namespace
