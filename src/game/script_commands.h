#pragma once
// The script commands that act through the fight rules. The script language sits below the
// game's rules, so the game hands them to its dispatcher at start-up.

namespace morvath {

// Registers fight() and rash(). The application and the tests call it once before any script
// runs; calling it again changes nothing.
void RegisterGameCommands();

}  // namespace morvath
