#include "game/spells.h"

#include <vector>

#include "game/fight.h"
#include "game/flight.h"
#include "game/screen.h"
#include "game/skill_rules.h"
#include "game/skills.h"
#include "platform/random.h"
#include "world/speech.h"

namespace morvath {
namespace {

const wchar_t kNoMana[] = L"У вас не хватает маны";
// The lightning stays on the map this long before it strikes.
constexpr int kLightningMilliseconds = 250;

MainCharacter& Hero() { return *modVarsAndMain.Player; }

// "More than c" mana: what is left after spending c must stay above nothing.
bool HasManaFor(double cost) { return Hero().Mana - cost > 0; }

}  // namespace

void CastCutWeeds() {
    auto& g = modVarsAndMain;
    Hero().Magic += 0.01;
    g.CurTile = GetFacingTile();
    int dx = 0, dy = 0;
    if (g.CurTile == L"<" && FacingOffset(dx, dy)) {
        g.TheWorld->setPosMap2(g.PlayerY + 3 + dy, g.PlayerX + 3 + dx, L"G");
    }
}

void CastLightning() {
    auto& g = modVarsAndMain;
    Hero().Magic += 0.02;
    HideSpellList();
    int dx = 0, dy = 0;
    if (FacingOffset(dx, dy)) LightningStrikeAt(g.PlayerX + dx, g.PlayerY + dy);
}

void LightningStrikeAt(int x, int y) {
    auto& g = modVarsAndMain;
    if (!HasManaFor(4)) {
        Say(kNoMana, L"");
        return;
    }
    Hero().Mana -= 4;
    std::shared_ptr<NPC> target;
    for (const auto& npc : *g.NPCs) {
        if (npc->X == x && npc->Y == y) {
            target = npc;
            break;
        }
    }
    if (!target) return;
    g.ScriptNPCIndex = g.NPCs->IndexOf(target);
    g.TheWorld->setPosMap(y + 3, x + 3, L"М");
    {
        AnimationGuard guard;
        HoldView(kLightningMilliseconds);
    }
    target->HP = target->HP - 16;
    target->Tactic = kTacticApproach;
    if (target->HP <= 0) {
        g.TheWorld->setPosMap(y + 3, x + 3, L"G");
        BuryKilled(target);
    } else {
        g.TheWorld->setPosMap(y + 3, x + 3, target->Symbol);
    }
    DrawIt();
}

void CastFireball() {
    auto& g = modVarsAndMain;
    HideSpellList();
    if (!g.FireballKnown) return;
    if (!HasManaFor(12)) {
        Say(kNoMana, L"");
        return;
    }
    Hero().Magic += 0.05;
    Hero().Mana -= 12;
    FireballFly(g.FacingDir);
}

void FireballFly(int direction) {
    static constexpr Pic kPictures[] = {Pic::fireball3, Pic::fireball1, Pic::fireball4, Pic::fireball2};
    Randomize();
    const auto path = FlightPath(direction);
    if (path.empty()) return;
    AnimationGuard guard;
    // The ball always flies the whole way: hits do not stop it.
    for (const FlightStep& step : path) {
        ShowFlightStep(kPictures[direction - 1], step);
        FireballHitAt(step.x, step.y);
    }
    EndFlight();
}

void FireballHitAt(int x, int y) {
    auto& g = modVarsAndMain;
    if (!g.NPCs) return;
    // Everyone in the area is burnt once, whoever the deaths among them remove or add.
    std::vector<std::shared_ptr<NPC>> area;
    for (const auto& npc : *g.NPCs) {
        if (npc->Y == y && (npc->X == x - 1 || npc->X == x || npc->X == x + 1)) area.push_back(npc);
    }
    for (const auto& npc : area) {
        if (!g.NPCs || !g.NPCs->Contains(npc)) continue;
        if (npc->HP < 15) {
            Hero().Exp += 1;
            if (npc->Good) AlarmSoldiers();
            BuryKilled(npc);
        } else {
            npc->HP = npc->HP - 10 - Int(Rnd() * 5);
            npc->Tactic = kTacticApproach;
        }
    }
}

void CastHealingLight() {
    auto& g = modVarsAndMain;
    HideSpellList();
    if (!g.HealingKnown) return;
    if (!HasManaFor(8)) {
        Say(kNoMana, L"");
        return;
    }
    Hero().Magic += 0.02;
    Hero().Mana -= 8;
    Hero().HP = Hero().MaxHp;
    Say(L"Вы внезапно осветились светом...", L"");
}

void CastNight() {
    auto& g = modVarsAndMain;
    HideSpellList();
    if (!g.NightKnown) return;
    if (!HasManaFor(2)) {
        Say(kNoMana, L"");
        return;
    }
    Hero().Magic += 0.02;
    Hero().Mana -= 2;
    g.Darkness = true;
    Say(L"Внезапно наступила ночь...Всё покрылось мраком...", L"");
}

void RepeatLastSpell() {
    switch (static_cast<int>(modVarsAndMain.LastSpell)) {
        case 1: CastCutWeeds(); break;
        case 2: CastLightning(); break;
        case 3: CastFireball(); break;
        case 4: CastHealingLight(); break;
        default: break;  // the night is not repeated
    }
}

}  // namespace morvath
