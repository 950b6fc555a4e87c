#include "game/script_commands.h"

#include "game/fight.h"
#include "script/command_call.h"

namespace morvath {
namespace {

// fight(): the hero attacks the first character next to him; a beast's talk script says
// this, so speaking to it starts the fight.
Variant CmdFight(CommandCall&) {
    AttackNearby();
    return {};
}

// rash(): every soldier of the location turns on the hero.
Variant CmdRash(CommandCall&) {
    AlarmSoldiers();
    return {};
}

}  // namespace

void RegisterGameCommands() {
    RegisterCommand(L"fight", CmdFight);
    RegisterCommand(L"rash", CmdRash);
}

}  // namespace morvath
