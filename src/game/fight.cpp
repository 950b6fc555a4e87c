// Starting a fight and the enemy's blow.
#include "game/fight.h"

#include "game/fight_panel.h"
#include "platform/frontend.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "world/game_over.h"
#include "world/game_state.h"
#include "world/speech.h"
#include "world/turn.h"

namespace morvath {
namespace {

GameState& G() { return modVarsAndMain; }

// The ambush skill may sit in any row of the skill table: skills learned late land in
// rows 8 and beyond and must work like the others.
bool KnowsAmbush() {
    for (const auto& row : G().Skills) {
        if (row[0].ToText() == L"Подстерегать") return true;
    }
    return false;
}

// Mobility, luck, strength and tactic against the enemy's health and strength, with a
// little luck on both sides. Any positive score, however small, is an ambush.
double AmbushScore(const MainCharacter& hero, const NPC& enemy) {
    Randomize();
    double r1 = Rnd();
    double r2 = Rnd();
    return hero.Mobility / 7 + hero.Luck + hero.Strenght / 2 - enemy.HP / 3 - enemy.Strenght / 2.0 -
           Int(r1 * 7) + Int(r2 * 7) + 3.0 * hero.HeroeTactic;
}

void SetUpPanel(const std::shared_ptr<NPC>& enemy) {
    auto& hero = *G().Player;
    auto& f = G().gameScreen.fight;
    f.visible = true;
    f.enemy = enemy;
    G().screen.speechVisible = false;
    f.lblFight = L"Готов!";
    f.EnemyStartHP = enemy->HP;
    enemy->WeaponForce = enemy->GetWeaponType();
    f.EnemyWeapon = enemy->WeaponName;
    f.Enemystr = L"Сила: " + NumText(enemy->Strenght);
    f.EnemyLife = L"HP: " + NumText(Int(enemy->HP));
    f.lblEnemyName = enemy->NPCName;
    f.lblLife = L"HP: " + NumText(hero.HP);
    f.lblStrenght = L"Сила: " + NumText(Int(hero.Strenght));
    UpdateLifeBars();
    f.enemyLifeBar = 1;  // full at the start, whatever fraction of a point it has
    f.Weapon = G().Equip[kSlotRightHand][kEqName].ToText();
}

// The enemy's blow before any dodge: strength (once or twice), weapon, and a random share of
// strength against the hero's armour, luck, mobility and tactic.
double EnemyDamage(const MainCharacter& hero, const NPC& enemy) {
    Randomize();
    double r1 = Rnd();
    double r2 = Rnd();
    double eS = enemy.Strenght;
    double d = Int(2 * r1 + 1) * eS + enemy.WeaponForce - hero.Defence / 2 - hero.Luck / 2.0 -
               hero.Mobility / 10 - 2.0 * hero.HeroeTactic + (r2 * eS - 1);
    // A wounded enemy hits weaker. An enemy that started the fight below half a hit point
    // (the curse leaves 0.1) has no starting health to scale by.
    int startHP = G().gameScreen.fight.EnemyStartHP;
    if (startHP > 0) d = d * (enemy.HP / startHP);
    return d;
}

void HeroKilledBy(const NPC& enemy) {
    // A hero dies once: a blow that lands after his death (the next hunter of the same turn)
    // neither names another killer nor ends the run again.
    if (G().PlayerDead) return;
    // Dead from this moment: whatever the window handles while the box is open finds him so.
    G().PlayerDead = true;
    auto& f = G().gameScreen.fight;
    f.lblFight = L"Вас убили ";
    G().hallOfFame.EnemyName = enemy.NPCName;
    UI().MsgBox(L"Вас убили", MsgButtons::Ok);
    CloseFightPanel();
    f.lifeBar = 0;
    UI().Redraw();
    GameOver();
}

}  // namespace

void AttackNearby() {
    if (!G().NPCs) return;
    const double px = G().PlayerX, py = G().PlayerY;
    const double cells[4][2] = {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}};
    for (const auto& npc : *G().NPCs) {
        for (const auto& c : cells) {
            if (npc->X == c[0] && npc->Y == c[1]) {
                StartFight(c[0], c[1]);
                return;
            }
        }
    }
    Say(L"Здесь не с кем сражаться", L"");
}

void StartFight(double x, double y) {
    // A dead hero fights no more, whoever reaches his body.
    if (!G().NPCs || !G().Player || G().PlayerDead) return;
    auto& hero = *G().Player;
    std::shared_ptr<NPC> enemy;
    for (const auto& npc : *G().NPCs) {
        if (npc->X == x && npc->Y == y) {
            enemy = npc;
            break;
        }
    }
    // Nobody there: no fight (not a fight with whoever was fought last).
    if (!enemy) return;
    G().EnemyIndex = G().NPCs->IndexOf(enemy);

    // A much weaker enemy may run at the mere sight of a healthy, strong hero.
    bool scared = Rnd() * 7 > 5;
    if (scared && hero.HP > hero.MaxHp / 2.0 && enemy->HP < hero.HP / 2.0 && enemy->Strenght < hero.Strenght / 2) {
        enemy->Tactic = kTacticFlee;
        enemy->Good = false;
        MoveAllNPCs();
        UI().Redraw();
        PlayTownTune();
        Say(enemy->NPCName + L" испугался вашего вида и в панике бежит от вас!", L"");
        return;
    }

    if (enemy->Good) {
        if (UI().MsgBox(L"Вы действительно хотите драться с " + enemy->NPCName, MsgButtons::YesNo) != MsgResult::Yes) {
            return;
        }
        hero.Doom += 0.7;
        if (KnowsAmbush() && AmbushScore(hero, *enemy) > 0) {
            KillReward(enemy->Strenght);
            BuryEnemy(enemy);
            AppendKillLog(enemy->NPCName);
            Say(L"Вы подстерегли противника!", L"");
            UI().Redraw();
            return;
        }
        AlarmSoldiers();
    }

    hero.WillPower += 0.01;
    SetUpPanel(enemy);

    if (Int(Rnd() * 7) + hero.Luck / 2.0 < 5) EnemyAttack();
    // The first blow may have killed the hero; the fight's tune is for a fight that goes on.
    if (!FightOn()) return;
    PlayFightTune();
    ++G().gameScreen.fight.focusSerial;  // the strike button takes the keyboard
}

void EnemyAttack() {
    auto enemy = FightEnemy();
    if (!enemy || !G().Player) return;
    auto& hero = *G().Player;
    auto& f = G().gameScreen.fight;
    // Whatever the blow does, the keyboard goes back to the strike button.
    ++f.focusSerial;
    hero.calcPV();
    double d = EnemyDamage(hero, *enemy);

    Randomize();
    double dodge = Rnd() * 7 + hero.PV;
    if (dodge > d + Rnd() * 10) {
        f.lblFight = L"Ваш противник промахнулся!";
        return;
    }
    if (!(d > 0)) {
        f.lblFight = L"Ваш противник промахнулся!";
        return;
    }
    hero.HP = hero.HP - d;
    if (hero.HP > 0) {
        f.lblFight = d < 1 ? std::wstring(L"Вам нанесли незанчительное повреждение...")
                           : L"Вам нанесли повреждение:" + NumText(Int(d));
        f.lblLife = L"HP: " + NumText(hero.HP);
        UpdateLifeBars();
        return;
    }
    HeroKilledBy(*enemy);
}

void AlarmSoldiers() {
    if (!G().NPCs) return;
    for (const auto& npc : *G().NPCs) {
        if (npc->NPCName == L"Солдат") {
            npc->Tactic = kTacticApproach;
            npc->Good = false;
        }
    }
}

}  // namespace morvath
