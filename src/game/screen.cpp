#include "game/screen.h"

#include "game/spells.h"
#include "platform/frontend.h"
#include "world/game_over.h"
#include "world/game_state.h"
#include "world/save_set.h"

namespace morvath {

void OpenGameScreen() {
    auto& hero = modVarsAndMain.gameScreen.hero;
    hero.portrait = hero.down;
}

void CloseGameScreen() {
    auto& g = modVarsAndMain;
    // A quit key has already ended the program; and game over closes this window itself,
    // in which case its pass must not run twice nor be followed by a save.
    if (g.gameScreen.programEnded || g.GameOverRunning) return;
    // A game that is over (a dead hero, kept or not) is not saved: a kept save must hold
    // the hero as he was before he died, not a corpse that dies again on loading.
    const bool alive = !g.PlayerDead && g.Player && g.Player->HP >= 1;
    if (alive) SaveGame();
    GameOver();
}

bool KeysBlocked() {
    const auto& g = modVarsAndMain;
    // A dead hero takes no keys: from the death notice to the hall of fame, and after it
    // while the handler that killed him winds down.
    return (g.Player && g.Player->Sleep) || g.AnimationRunning || g.ForgeChoice || g.PlayerDead || g.RunEnded;
}

void HideSpeech() { modVarsAndMain.screen.speechVisible = false; }

void ShowSpellList() {
    auto& g = modVarsAndMain;
    auto& list = g.gameScreen.spells;
    list.visible = true;
    list.focus = SpellList::kClose;
    // Known spells are shown (and never hidden again); the keyboard ends on the last of them.
    for (int i = 0; i < static_cast<int>(kSpells.size()); ++i) {
        if (!(g.*kSpells[static_cast<std::size_t>(i)].known)) continue;
        list.optionVisible[static_cast<std::size_t>(i)] = true;
        list.focus = i;
    }
    ++list.focusSerial;
}

void HideSpellList() { modVarsAndMain.gameScreen.spells.visible = false; }

void EndProgram() {
    modVarsAndMain.gameScreen.programEnded = true;
    UI().EndProgram();
}

}  // namespace morvath
