#include "world/game_state.h"

namespace morvath {

GameState modVarsAndMain;

void GameState::CreateRoots() {
    Player = std::make_shared<MainCharacter>();
    TheWorld = std::make_shared<World>();
    NPCs = std::make_shared<NPCCol>();
    Inventory = std::make_shared<ItemCol>();
}

void ResetGame() { modVarsAndMain = GameState{}; }

fs::path IniPath() { return GamePath(L"\\morvath.ini"); }

}  // namespace morvath
