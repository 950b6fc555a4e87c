#include "world/game_over.h"

#include "platform/frontend.h"
#include "services/music.h"
#include "world/game_state.h"
#include "world/save_set.h"

namespace morvath {
namespace {

// The warlock's dark arts bring him back, stripped of his strength, in a fresh cave level.
void Revive() {
    auto& g = modVarsAndMain;
    g.ResurrectionsLeft -= 1;
    // The place is left as a change of location leaves it: its map and floor too, or items
    // picked up there would lie on the floor again when he comes back. He cannot stay: what
    // could not be written is lost, and he and the next save are told.
    if (g.TheWorld) {
        if (const std::wstring unwritten = g.TheWorld->SaveLeftPlace(); !unwritten.empty()) {
            TellTrouble(L"Не удалось записать файл " + unwritten + L". Изменения в этом месте потеряны.");
            LostChangesOf(g.TheWorld->WorldName);
        }
    }
    UI().MsgBox(L"Чёрная Магия и Власть над мёртвыми опять помогли вам - Вы возродились!", MsgButtons::Ok,
                MsgIcon::Information, L"Morvath");
    g.PlayerDead = false;
    auto& hero = *g.Player;
    hero.Strenght = 1;
    hero.Level = 0;
    hero.HardIness = 1;
    hero.HP = 1;
    hero.MaxHp = 5;
    // This death is undone: a later one must not be recorded with this killer or epitaph.
    g.hallOfFame.EnemyName.clear();
    g.hallOfFame.win.clear();
    if (g.TheWorld && g.NPCs) {
        g.TheWorld->WorldName = L"AG";
        g.TheWorld->Generate_Cave_World();
    }
    // He looks at his one hit point before he takes another step.
    hero.Show_Status();
}

void EndOfRun() {
    auto& g = modVarsAndMain;
    g.RunEnded = true;
    if (!g.KeepSaveOnDeath) DeleteSaveSet();
    modMusicEngine::MidiClose();
    g.hallOfFame.writehf = true;
    UI().ShowHallOfFame(true);
}

}  // namespace

void GameOver() {
    auto& g = modVarsAndMain;
    // One run, one end. Closing the hall of fame ends the program, yet the key or click that
    // killed the hero is still being handled: the next blow of the same turn, the turn's own
    // death test, a fight its rest starts. With the program ending every box they open
    // returns at once, and without this they would record the same death again and again.
    if (g.GameOverRunning || g.RunEnded) return;
    g.GameOverRunning = true;
    // Only a death is undone: an ending, or the game screen closed by the player, is the
    // end of the run whoever the hero is.
    if (g.PlayerDead && g.Player && g.Player->Profession == kWarlock && g.ResurrectionsLeft >= 1) {
        Revive();
    } else {
        EndOfRun();
    }
    modVarsAndMain.GameOverRunning = false;
}

}  // namespace morvath
