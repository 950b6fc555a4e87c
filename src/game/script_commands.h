#pragma once
// The script commands that act through the fight rules. The script language sits below the
// game's rules, so the game hands them to its dispatcher at start-up.

namespace morvath {

// Registers fight() and rash(); InstallGameRules does it at start-up. Calling it again
// changes nothing.
void RegisterGameCommands();

}  // namespace morvath
