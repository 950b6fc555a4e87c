#include "world/game_state.h"

#include "services/music.h"

namespace morvath {

GameState modVarsAndMain;

void GameState::CreateRoots() {
    Player = std::make_shared<MainCharacter>();
    TheWorld = std::make_shared<World>();
    NPCs = std::make_shared<NPCCol>();
    Inventory = std::make_shared<ItemCol>();
}

void ResetGame() {
    modVarsAndMain = GameState{};
    // The music module keeps its own switch and the tune that plays; a fresh program has
    // music off and nothing open.
    modMusicEngine::ResetMusic();
}

fs::path IniPath() { return GamePath(L"\\morvath.ini"); }

}  // namespace morvath
