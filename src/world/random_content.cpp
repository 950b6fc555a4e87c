#include "world/random_content.h"

#include "platform/clock.h"
#include "platform/random.h"
#include "world/game_state.h"

namespace morvath {

void GenerateStartInventory() {
    auto& g = modVarsAndMain;
    int added = 0;
    auto addFood = [&] {
        auto food = g.Inventory->Add();
        g.CurItem = food;
        food->ItemName = L"Еда";
        food->ItemType = kFood;
        food->itembalance = 0;
        food->ItemScript = L"food.itm";
        food->WeaponPlus = 0;
        food->Weight = 1;
    };
    const int draws = static_cast<int>(Int(Rnd() * 4)) + 3;
    for (int i = 1; i <= draws; ++i) {
        int d = static_cast<int>(Int(Rnd() * 6));
        if (d == 2) {
            auto dagger = g.Inventory->Add();
            g.CurItem = dagger;
            dagger->ItemName = L"Кинжал";
            dagger->ItemType = kWeapon;
            dagger->itembalance = 0;
            dagger->WeaponPlus = Int(Rnd() * 3);
            dagger->Weight = 0.5;
            dagger->Critical = 70;
            ++added;
        } else if (d == 4) {
            addFood();
            ++added;
        }
    }
    if (added == 0) addFood();
    g.Player->DoWeight();
}

void ApplyCalendarLuck() {
    const CalendarDay today = Today();
    auto& luck = modVarsAndMain.Player->Luck;
    if (today.day == 14 && today.month == 6) luck += 8;
    if (today.weekday == 1) luck += 1;
    if (today.day == 6) luck -= 1;
    if (today.day == 13) {
        luck -= 3;
        if (today.weekday == 6) luck = -10;
    }
}

void PopulateSpiderCave() {
    auto& g = modVarsAndMain;
    for (int i = 0; i <= 7; ++i) {
        auto spider = g.NPCs->Add();
        g.CurNPC = spider;
        spider->NPCName = L"Паук";
        spider->Weapon = L"К";
        spider->X = static_cast<float>(Int(Rnd() * 5) + 19);
        spider->Y = static_cast<float>(Int(Rnd() * 5) + 19);
        spider->HP = Int(Rnd() * 7) + 7;
        spider->Strenght = 2;
        spider->AIScript_File = L"temp.tai";
        spider->DieScript_File = L"spider.die";
    }
    auto tramp = g.NPCs->Add();
    g.CurNPC = tramp;
    tramp->NPCName = L"Игорь";
    tramp->Weapon = L"К";
    tramp->X = 20;
    tramp->Y = 20;
    tramp->HP = 1;
    tramp->Strenght = 0;
    tramp->AIScript_File = L"hasb.tai";
    tramp->DieScript_File = L"hasb.die";
    tramp->Good = true;
    g.TheWorld->setPosMap2(23, 23, L"8");
}

void AddUnknownWarrior() {
    auto& g = modVarsAndMain;
    auto warrior = g.NPCs->Add();
    g.CurNPC = warrior;
    warrior->NPCName = L"Неизвестный воин";
    warrior->HP = 17;
    warrior->Strenght = 7;
    warrior->AIScript_File = L"warrior.tai";
    warrior->DieScript_File = L"warrior.die";
    warrior->X = 20;
    warrior->Y = 19;
    warrior->Tactic = kTacticStay;
    warrior->Symbol = L".";
    g.TheWorld->setPosMap2(22, 23, L".");
}

}  // namespace morvath
