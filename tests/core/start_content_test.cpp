#include <gtest/gtest.h>

#include "game/weapons.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "script/find_messages.h"
#include "test_support.h"
#include "world/equipment.h"
#include "world/game_state.h"
#include "world/random_content.h"

using namespace morvath;

namespace {

struct StartContent : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SetGameFolder(dir.path());
    }
};

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

TEST_F(StartContent, StartInventoryAlwaysHoldsSomething) {
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        SeedRandom(seed);
        modVarsAndMain.Inventory->Clear();
        GenerateStartInventory();
        long n = modVarsAndMain.Inventory->Count();
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 6);
        for (const auto& item : *modVarsAndMain.Inventory) {
            if (item->ItemName == L"Кинжал") {
                EXPECT_EQ(item->ItemType, kWeapon);
                EXPECT_GE(item->WeaponPlus, 0);
                EXPECT_LE(item->WeaponPlus, 2);
                EXPECT_EQ(item->Critical, 70);
            } else {
                EXPECT_EQ(item->ItemName, L"Еда");
                EXPECT_EQ(item->ItemScript, L"food.itm");
                EXPECT_EQ(item->Weight, 1);
            }
            EXPECT_EQ(item->ItemCount, 0);
        }
    }
}

TEST_F(StartContent, WeaponTableReadsRecordsAndStopsAtABadValue) {
    fs::create_directories(dir.path() / "maps");
    TextWriter w;
    w.Text(L"Меч").Number(4).Number(0).Number(60).Number(3.5).Text(L"St+2").Number(1).Text(L"Острый меч").EndRecord();
    w.Text(L"Щит").Number(0).Number(3).Number(0).Number(5).Text(L"").Number(2).Text(L"Дубовый щит").EndRecord();
    WriteFileAtomic(dir.path() / "maps" / "weapons.dat", w.bytes() + "\"Топор\",x,0,0,1,\"\",1,\"\"\r\n");
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
    auto& e = modVarsAndMain.Equip;
    e[kSlotRightHand][kEqWeaponPlus] = 5;
    e[kSlotRightHand][kEqCritical] = 70;
    e[kSlotHead][kEqWeaponPlus] = 1;
    e[kSlotNeck][kEqDefendPlus] = 1;
    e[kSlotBody][kEqDefendPlus] = 3;
    e[kSlotLegs][kEqDefendPlus] = 1;
    CalculateWeapons();
    EXPECT_DOUBLE_EQ(modVarsAndMain.Player->Weapon, 5 + 0.5 + 1);
    EXPECT_DOUBLE_EQ(modVarsAndMain.Player->Defence, 0.25 + 3 + 0.5);
    EXPECT_DOUBLE_EQ(modVarsAndMain.Player->Critical, 70.0 / 60);
}

TEST_F(StartContent, FindMessages) {
    InitFindMessages();
    EXPECT_EQ(modVarsAndMain.Messages[11], L"Вы нашли дерево");
    EXPECT_EQ(modVarsAndMain.Messages[13], L"Здесь ничего нет.");
    EXPECT_EQ(modVarsAndMain.Messages[16], L"Вы нашли монеты");
    EXPECT_EQ(modVarsAndMain.Messages[12], L"");
}
