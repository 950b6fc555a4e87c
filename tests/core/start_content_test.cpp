#include <vector>

#include "game/weapons.h"
#include "platform/numbers.h"
#include "platform/textforms.h"
#include "script/find_messages.h"
#include "test_support.h"
#include "world/equipment.h"
#include "world/game_state.h"
#include "world/random_content.h"

using namespace morvath;

namespace {

using StartContent = GameTest;

}  // namespace

TEST_F(StartContent, CalendarLuck) {
    auto& luck = modVarsAndMain.Player->Luck;
    ApplyCalendarLuck(14, 6, 1);  // 14 June, a Sunday
    EXPECT_EQ(luck, 9);
    luck = 0;
    ApplyCalendarLuck(6, 3, 3);
    EXPECT_EQ(luck, -1);
    luck = 0;
    ApplyCalendarLuck(13, 5, 3);
    EXPECT_EQ(luck, -3);
    luck = 5;
    ApplyCalendarLuck(13, 5, 6);  // Friday the 13th
    EXPECT_EQ(luck, -10);
    luck = 0;
    ApplyCalendarLuck(2, 2, 4);
    EXPECT_EQ(luck, 0);
}

// Three to six draws of six: a 2 is a dagger (with a bonus of 0 to 2), a 4 food; nothing
// drawn is one food all the same.
TEST_F(StartContent, StartInventoryAlwaysHoldsSomething) {
    const double two = 2.0001 / 6, four = 4.0001 / 6;
    struct Case {
        std::vector<double> draws;
        std::wstring items;
        double weight;
    };
    const Case cases[] = {{{0, two, 0.9999, four, 0}, L"Кинжал+2 Еда ", 1.5},
                          {{0.9999, 0, 0, 0, 0, 0, 0.9999}, L"Еда ", 1},
                          {{0, 1.9999 / 6, 3.0001 / 6, 5.0001 / 6, four}, L"Еда ", 1},
                          {{0.25, four, four, two, 0.3, 3.9999 / 6, four}, L"Еда Еда Кинжал+0 ", 2.5}};
    for (const Case& c : cases) {
        PinnedDraws draws(c.draws);
        modVarsAndMain.Inventory->Clear();
        GenerateStartInventory();
        std::wstring items;
        for (const auto& item : *modVarsAndMain.Inventory) {
            const bool dagger = item->ItemName == L"Кинжал";
            items += item->ItemName + (dagger ? L"+" + NumText(item->WeaponPlus) : L"") + L" ";
            EXPECT_EQ(item->ItemType, dagger ? kWeapon : kFood);
            EXPECT_EQ(item->Critical, dagger ? 70 : 0);
            EXPECT_EQ(item->ItemScript, dagger ? L"" : L"food.itm");
            EXPECT_EQ(item->ItemCount, 0);
        }
        EXPECT_EQ(items, c.items);
        EXPECT_DOUBLE_EQ(modVarsAndMain.Player->Weight, c.weight);
    }
}

TEST_F(StartContent, WeaponTableReadsRecordsAndStopsAtABadValue) {
    fs::create_directories(folder.path() / "maps");
    TextWriter w;
    w.Text(L"Меч").Number(4).Number(0).Number(60).Number(3.5).Text(L"St+2").Number(1).Text(L"Острый меч").EndRecord();
    w.Text(L"Щит").Number(0).Number(3).Number(0).Number(5).Text(L"").Number(2).Text(L"Дубовый щит").EndRecord();
    WriteFileAtomic(folder.path() / "maps" / "weapons.dat", w.bytes() + "\"Топор\",x,0,0,1,\"\",1,\"\"\r\n");
    LoadWeaponsTable();
    auto& t = WeaponsTable();
    EXPECT_EQ(t[0][kWpName].ToText(), L"Меч");
    EXPECT_EQ(t[0][kWpWeight].ToNumber(), 3.5);
    EXPECT_EQ(t[0][kWpSkillPlus].ToText(), L"St+2");
    EXPECT_EQ(t[1][kWpDefendPlus].ToNumber(), 3);
    EXPECT_EQ(t[1][kWpInfo].ToText(), L"Дубовый щит");
    EXPECT_TRUE(t[2][kWpName].IsEmpty());
}

TEST_F(StartContent, WeaponsFromWornItems) {
    CalculateWeapons();
    EXPECT_EQ(modVarsAndMain.Player->Weapon, 1);
    EXPECT_EQ(modVarsAndMain.Player->Defence, 0);
    EXPECT_EQ(modVarsAndMain.Player->Critical, 0);
    // A power of two in every slot: each slot's share shows in the sums.
    for (int slot = 0; slot < 6; ++slot) {
        modVarsAndMain.Equip[slot][kEqWeaponPlus] = 1 << slot;
        modVarsAndMain.Equip[slot][kEqDefendPlus] = 1 << slot;
        modVarsAndMain.Equip[slot][kEqCritical] = 30 << slot;
    }
    CalculateWeapons();
    EXPECT_DOUBLE_EQ(modVarsAndMain.Player->Weapon, 0.5 + 1 + 4 + 8 + 8 + 16 + 1);  // head, neck, hands, body, legs
    EXPECT_DOUBLE_EQ(modVarsAndMain.Player->Defence, 0.5 + 0.5 + 2 + 8 + 16 + 16);
    EXPECT_DOUBLE_EQ(modVarsAndMain.Player->Critical, (120 + 240) / 60.0);  // the hands only
}

TEST_F(StartContent, FindMessages) {
    InitFindMessages();
    EXPECT_EQ(modVarsAndMain.Messages[11], L"Вы нашли дерево");
    EXPECT_EQ(modVarsAndMain.Messages[13], L"Здесь ничего нет.");
    EXPECT_EQ(modVarsAndMain.Messages[16], L"Вы нашли монеты");
    EXPECT_EQ(modVarsAndMain.Messages[12], L"");
}
