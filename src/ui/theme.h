#pragma once
// One look for every window of the game, drawn from the pictures' palette: dark plum panels,
// parchment text fields, copper frames.
#include <QString>

namespace morvath::ui {

QString GameStyleSheet();

}  // namespace morvath::ui
