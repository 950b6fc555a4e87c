#pragma once

namespace morvath {

// Fills the texts that searching shows (wood found, nothing here, coins found).
void InitFindMessages();

}  // namespace morvath
