// The skills of the open country: the campfire and fishing.
#include "game/items.h"
#include "game/skill_rules.h"
#include "game/skills.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/quest_flags.h"
#include "world/speech.h"

namespace morvath {

bool Campfire() {
    auto& g = modVarsAndMain;
    auto fuel = g.Inventory->Item(ChooseItemOfKind(kFuel));
    if (!fuel) {
        Say(L"Для костра нужно топливо!", L"");
        return false;
    }
    int dx = 0, dy = 0;
    if (GetFacingTile() == L"G" && FacingOffset(dx, dy)) {
        g.TheWorld->setPosMap2(g.PlayerY + 3 + dy, g.PlayerX + 3 + dx, L"•");
        UseUpOnePiece(fuel);
        DrawIt();
    } else {
        Say(L"Здесь нельзя разжечь костер!", L"");
    }
    return true;
}

bool Fishing() {
    auto& g = modVarsAndMain;
    auto& hero = *g.Player;
    if (g.Equip[kSlotRightHand][kEqName].ToText() != L"Удочка" && g.Equip[kSlotLeftHand][kEqName].ToText() != L"Удочка") {
        Say(L"Вам нечем ловить рыбу - нужна удочка!", L"");
        return true;
    }
    // The shore pieces face the water: a lake above the hero or below him, never beside.
    const std::wstring above = g.TheWorld->GetPosMap(g.PlayerX + 3, g.PlayerY + 2);
    const std::wstring below = g.TheWorld->GetPosMap(g.PlayerX + 3, g.PlayerY + 4);
    if (above != L"D" && above != L"-" && below != L"F") {
        Say(L"Здесь нет ни воды, ни реки - рыбу ловить негде...", L"");
        return true;
    }
    Randomize();
    if (Int(Rnd() * 11) + hero.Luck >= 6) {
        auto& blueFish = g.QuestFlags[kFlagBlueCarp];
        if (g.TheWorld->WorldName == L"lm1" && blueFish == 1) {
            Say(L"Вы поймали странного синего карася!", L"");
            blueFish = 2;
            AddCarried(L"Странный карась синего цвета", L"Синий карась", kFood, 2.0, L"bluefish.itm");
            return true;
        }
        Say(L"Вы поймали рыбину!", L"");
        std::shared_ptr<Item> caught;
        for (const auto& item : *g.Inventory) {
            if (item->ItemName == L"Окунь или плотва") caught = item;
        }
        if (caught) {
            caught->ItemCount += 1;
        } else {
            AddCarried(L"Окунь или плотва", L"Рыба", kFood, 2.0, L"food.itm");
        }
        return true;
    }
    Randomize();
    if (Int(Rnd() * 70) + hero.Luck >= 69) {
        Say(L"Вы поймали Золотую рыбку...У вас море денег...", L"");
        g.Money = g.Money + 16000 + Int(Rnd() * 100);
    } else {
        Say(L"Вам не повезло - вы ничего не поймали...", L"");
    }
    return true;
}

}  // namespace morvath
