#pragma once

namespace morvath::ui {

// Creates the application, shows the start menu and runs the event loop.
int RunApplication(int argc, char** argv);

}  // namespace morvath::ui
