// The hero's actions on the fight panel, and what the fight engine and the panel share.
#include "game/fight_panel.h"

#include <vector>

#include "game/fight.h"
#include "game/flight.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "services/music.h"
#include "world/game_state.h"
#include "world/save_set.h"
#include "world/speech.h"

namespace morvath {
namespace {

GameState& G() { return modVarsAndMain; }

// The enemy the buttons act on: nothing while no fight is on, and nothing for a dead hero
// while his death notice is on screen.
std::shared_ptr<NPC> PanelEnemy() { return G().gameScreen.fight.visible && !G().PlayerDead ? FightEnemy() : nullptr; }

double Fraction(double part, double whole) {
    double f = part / whole;
    if (!(f > 0)) return 0;
    return f > 1 ? 1 : f;
}

// The hero's blow before the kill test: strength (once or twice), the weapon's force times
// its critical factor, luck and tactic, less a random share of the enemy's strength.
double HeroDamage(const MainCharacter& hero, const NPC& enemy) {
    double r1 = Rnd();
    double r2 = Rnd();
    double d = Int(2 * r1 + 1) * hero.Strenght + hero.Weapon * hero.Critical + hero.Luck / 2.0 +
               2.0 * hero.HeroeTactic - r2 * enemy.Strenght;
    // A wounded hero hits weaker.
    if (hero.MaxHp > 0) d = d * (static_cast<double>(hero.HP) / hero.MaxHp);
    return d;
}

void KillEnemy(const std::shared_ptr<NPC>& enemy) {
    auto& f = G().gameScreen.fight;
    auto& hero = *G().Player;
    f.lblFight = L"Вы убили " + enemy->NPCName;
    AppendKillLog(enemy->NPCName);
    KillReward(enemy->Strenght);
    hero.dMonsters += 1;
    CloseFightPanel();
    CloseFightTune();
    f.enemyLifeBar = 0;
    BuryEnemy(enemy);

    // Whoever stands on the hero's own cell fights on at once.
    std::vector<std::shared_ptr<NPC>> rest(G().NPCs->begin(), G().NPCs->end());
    for (const auto& npc : rest) {
        if (!G().NPCs->Contains(npc)) continue;
        if (npc->X == G().PlayerX && npc->Y == G().PlayerY) StartFight(npc->X, npc->Y);
    }
    UI().Redraw();
}

void EnemyPanics(const std::shared_ptr<NPC>& enemy) {
    CloseFightPanel();
    enemy->Tactic = kTacticFlee;
    enemy->Good = false;
    enemy->Do_Move(G().NPCs->IndexOf(enemy));
    UI().Redraw();
    PlayTownTune();
    Say(enemy->NPCName + L" в панике бежит от вас!", L"");
}

}  // namespace

std::shared_ptr<NPC> FightEnemy() {
    auto& f = G().gameScreen.fight;
    if (f.enemy && G().NPCs && G().NPCs->Contains(f.enemy)) return f.enemy;
    CloseFightPanel();
    return nullptr;
}

void CloseFightPanel() {
    G().gameScreen.fight.visible = false;
    // The status line shows the health the fight left, not the health it began with.
    if (G().Player) G().Player->Show_Status();
}

bool FightOn() { return G().gameScreen.fight.visible && FightEnemy() != nullptr; }

void UpdateLifeBars() {
    auto& f = G().gameScreen.fight;
    if (f.enemy && f.EnemyStartHP > 0) f.enemyLifeBar = Fraction(f.enemy->HP, f.EnemyStartHP);
    if (G().Player && G().Player->MaxHp > 0) f.lifeBar = Fraction(G().Player->HP, G().Player->MaxHp);
}

void AppendKillLog(const std::wstring& name) {
    if (AppendToFile(KillLogPath(), EncodeCp1251(name + L"\r\n"))) return;
    TellTrouble(L"Не удалось дописать файл monst.cnt: этого врага не будет в летописи.");
}

void KillReward(double eS) {
    auto& hero = *G().Player;
    hero.Exp = hero.Exp + 1 + Int(eS / 2);
    hero.Strenght += Int(Rnd() * 9) / 1000;
}

void BuryEnemy(const std::shared_ptr<NPC>& enemy) {
    G().ScriptNPCIndex = G().NPCs->IndexOf(enemy);
    enemy->Died();
    // The death script may have removed characters, added some or moved the hero elsewhere:
    // only this very character leaves, and only if it is still here.
    G().NPCs->Remove(enemy);
}

// A fight starts its own tune and a flight or a panic the town's; a kill only stops the
// fight's tune and leaves the game silent.
void PlayFightTune() {
    modMusicEngine::MusicName = L"\\music\\Fight.mid";
    modMusicEngine::PlayMusic();
}

void PlayTownTune() {
    modMusicEngine::MusicName = L"\\music\\Town.mid";
    modMusicEngine::PlayMusic();
}

void CloseFightTune() { modMusicEngine::MidiClose(); }

void Strike() {
    auto enemy = PanelEnemy();
    if (!enemy) return;
    auto& f = G().gameScreen.fight;
    auto& hero = *G().Player;
    Randomize();
    UpdateLifeBars();
    UI().Redraw();

    double d = HeroDamage(hero, *enemy);
    if (!(d > 0)) {
        f.lblFight = L"Вы промахнулись!";
        EnemyAttack();
        return;
    }
    enemy->HP = enemy->HP - d;
    if (enemy->HP <= 0) {
        KillEnemy(enemy);
        return;
    }

    hero.WillPower += 0.05;
    hero.Strenght += d / 1000;
    f.lblFight = d < 1 ? std::wstring(L"Вы нанесли незанчительное повреждение...")
                       : L"Вы нанесли повреждение:" + NumText(Int(d));
    f.EnemyLife = L"HP: " + NumText(Int(enemy->HP));
    UpdateLifeBars();
    UI().Redraw();

    // A badly hurt enemy facing a healthier hero may break and run.
    bool breaks = Rnd() * 7 > 4;
    if (breaks && hero.HP > hero.MaxHp / 2.0 && hero.HP > enemy->HP && d > f.EnemyStartHP / 2.0) {
        EnemyPanics(enemy);
        return;
    }
    EnemyAttack();
}

void Curse() {
    auto enemy = PanelEnemy();
    if (!enemy) return;
    auto& f = G().gameScreen.fight;
    auto& hero = *G().Player;
    if (!G().CurseKnown) {
        f.lblFight = L"У вас нет боевых заклинаний..";
        return;
    }
    if (Int(hero.Mana) <= 1) {
        f.lblFight = L"У вас не хватает маны";
        return;
    }
    f.lblFight = L"Вы произнесли слово проклятья!";
    hero.Exp += 1;
    // The curse never kills.
    if (enemy->HP < 11) {
        enemy->HP = 0.1;
    } else {
        enemy->HP -= 9;
    }
    hero.Mana -= 1;
    f.EnemyLife = L"HP: " + NumText(enemy->HP);
    UI().Redraw();
    EnemyAttack();
}

void Flee() {
    auto enemy = PanelEnemy();
    if (!enemy) return;
    auto& hero = *G().Player;
    float v = static_cast<float>(Int(Rnd() * 7) + hero.Luck);
    if (v >= 4) {
        hero.WillPower -= 0.05;
        CloseFightPanel();
        // It will hunt the hero down.
        enemy->Tactic = kTacticApproach;
        enemy->Good = false;
        UI().Redraw();
        PlayTownTune();
        return;
    }
    G().gameScreen.fight.lblFight = L"Сбежать не удаётся!";
    UI().Redraw();
    {
        // The window shows the failure meanwhile; a key pressed now must not move the hero
        // or spend a turn before the enemy's blow.
        AnimationGuard guard;
        UI().Pause(600);
    }
    EnemyAttack();
}

void FightAutomatically() {
    for (int i = 0; i < kAutoFightExchanges && PanelEnemy(); ++i) {
        Strike();
        if (PanelEnemy()) EnemyAttack();
    }
}

}  // namespace morvath
