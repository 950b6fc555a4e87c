// The bow shot: one arrow flies from the hero across the view until it hits someone.
#include "game/fight.h"
#include "game/flight.h"
#include "game/items.h"
#include "game/skill_rules.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/speech.h"

namespace morvath {

bool BowShot() {
    static constexpr Pic kPictures[] = {Pic::a1, Pic::a3, Pic::a2, Pic::a4};
    auto& g = modVarsAndMain;
    const bool right = g.Equip[kSlotRightHand][kEqType].ToNumber() == static_cast<double>(kBow);
    if (!right && g.Equip[kSlotLeftHand][kEqType].ToNumber() != static_cast<double>(kBow)) {
        Say(L"Вам не из чего стрелять, возьмите лук в руку!", L"");
        return true;
    }
    const int hand = right ? kSlotRightHand : kSlotLeftHand;
    auto arrows = g.Inventory->Item(ChooseItemOfKind(kArrows));
    if (!arrows) {
        Say(L"Вам нечем стрелять!", L"");
        return false;
    }
    // The arrow is spent whatever follows. The last one stays in the quiver until it has
    // flown, since its own bonuses count for this shot.
    const bool last = arrows->ItemCount < 1;
    if (!last) arrows->ItemCount -= 1;
    Randomize();
    const int direction = g.FacingDir;
    {
        AnimationGuard guard;
        for (const FlightStep& step : FlightPath(direction)) {
            ShowFlightStep(kPictures[direction - 1], step);
            if (ArrowHit(step.x, step.y, hand, arrows)) break;
        }
        EndFlight();
    }
    if (last) g.Inventory->Remove(arrows);
    // Hit or not, an arrow less is carried.
    return true;
}

bool ArrowHit(int x, int y, int hand, const std::shared_ptr<Item>& arrow) {
    auto& g = modVarsAndMain;
    auto& hero = *g.Player;
    std::shared_ptr<NPC> target;
    for (const auto& npc : *g.NPCs) {
        if (npc->Y == y && (npc->X == x - 1 || npc->X == x || npc->X == x + 1)) {
            target = npc;
            break;
        }
    }
    if (!target) return false;
    const auto& bow = g.Equip[static_cast<std::size_t>(hand)];
    const double bowCritical = bow[kEqCritical].ToNumber();
    if (!(Rnd() * (hero.Mobility + bowCritical) > 5)) {
        Say(L"Вы промахнулись!", L"");
        return false;
    }
    const long arrowPower = arrow ? static_cast<long>(arrow->WeaponPlus) * static_cast<long>(arrow->Critical) : 0;
    const double damage = bow[kEqWeaponPlus].ToNumber() * bowCritical / 100 + arrowPower / 100.0 + hero.Luck / 2.0 +
                          2.0 * hero.HeroeTactic - Rnd() * target->Strenght;
    target->Tactic = kTacticApproach;
    if (target->Good) AlarmSoldiers();
    target->Good = false;
    if (damage > 0) {
        if (target->HP - damage > 0) {
            target->HP = target->HP - damage;
            Say(L"Вы попали и нанесли повреждение.", L"");
        } else {
            hero.Exp += 1;
            Say(L"Вы убили " + target->NPCName, L"");
            BuryKilled(target);
        }
    } else {
        Say(L"Вы попали но не нанесли повреждения...", L"");
    }
    return true;
}

}  // namespace morvath
