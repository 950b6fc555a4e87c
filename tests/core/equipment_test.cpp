// Putting items on and taking them off: bonus codes, head-item scripts, what the hero's
// blow, defence and critical factor become.
#include <gtest/gtest.h>

#include "game/equipment.h"
#include "screen_fixture.h"
#include "world/item_templates.h"

namespace morvath {
namespace {

class Equipment : public ScreenTest {
protected:
    std::shared_ptr<Item> Carry(const wchar_t* name, long type, const wchar_t* skill = L"", int count = 0) {
        auto it = g().Inventory->Add();
        it->ItemName = name;
        it->ItemType = type;
        it->SkillPlus = skill;
        it->ItemCount = count;
        it->Weight = 2;
        return it;
    }
    MainCharacter& hero() { return *g().Player; }
};

TEST_F(Equipment, BonusCodesApplyWhileWornAndCancelWhenTakenOff) {
    struct Case {
        const wchar_t* code;
        double MainCharacter::*field;  // nullptr: Luck
        double change;
    } cases[] = {
        {L"Lu+3", nullptr, 3},
        {L"St-5", &MainCharacter::Strenght, -5},
        {L"Ch+2", &MainCharacter::Appearance, 2},
        {L"Ap+2", &MainCharacter::Appearance, 2},
        {L"Wi-10", &MainCharacter::WillPower, -10},
        {L"Ma+15", &MainCharacter::Magic, 15},
        {L"Dx+1", &MainCharacter::Mobility, 1},
        {L"St+123", &MainCharacter::Strenght, 23},
        {L"Xx+5", &MainCharacter::Strenght, 0},
        {L"St*5", &MainCharacter::Strenght, 0},
        {L"st+5", &MainCharacter::Strenght, 0},
        {L"St", &MainCharacter::Strenght, 0},
        {L"", &MainCharacter::Strenght, 0},
    };
    for (const auto& c : cases) {
        hero() = MainCharacter{};
        hero().Strenght = 10;
        hero().Luck = 1;
        auto value = [&] { return c.field ? hero().*c.field : static_cast<double>(hero().Luck); };
        const double before = value();
        // Every other attribute stays as it was.
        const double others = hero().Strenght + hero().Appearance + hero().WillPower + hero().Magic +
                              hero().Mobility + hero().Luck - before;
        Carry(L"Кольцо", kNeck, c.code);
        ChangeItem(kSlotNeck, 1);
        EXPECT_DOUBLE_EQ(value(), before + c.change) << c.code;
        EXPECT_DOUBLE_EQ(hero().Strenght + hero().Appearance + hero().WillPower + hero().Magic + hero().Mobility +
                             hero().Luck - value(),
                         others)
            << c.code;
        RemItem(kSlotNeck);
        EXPECT_DOUBLE_EQ(value(), before) << c.code;
        g().Inventory->Clear();
    }
}

TEST_F(Equipment, WeaponsDefenceAndCriticalComeFromTheSlots) {
    CalculateWeapons();
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Defence, hero().Critical), std::tuple(1.0, 0.0, 0.0));
    auto sword = Carry(L"Меч", kWeapon);
    sword->WeaponPlus = 5;
    sword->Critical = 30;
    sword->Weight = 4;
    ui_.pickAnswers = {1};
    ToggleSlot(kSlotRightHand);
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Critical), std::tuple(6.0, 0.5));
    EXPECT_EQ(g().Inventory->Count(), 0);
    EXPECT_DOUBLE_EQ(hero().Weight, 4);
    EXPECT_EQ(g().gameScreen.equip.captions[kSlotRightHand], L"Правая рука[C]:Меч[5,0]");
    ToggleSlot(kSlotRightHand);
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Critical), std::tuple(1.0, 0.0));
    EXPECT_EQ(g().gameScreen.equip.captions[kSlotRightHand], L"Правая рука[C]:[0,0]");
    EXPECT_DOUBLE_EQ(hero().Weight, 4);  // carried again, not worn
    ASSERT_EQ(g().Inventory->Count(), 1);
    EXPECT_EQ(g().Inventory->Item(1)->Critical, 30);

    // Every slot with attack 8, defence 8 and critical 60.
    struct Slot {
        int slot;
        long kind;
    } slots[] = {{kSlotHead, kHead}, {kSlotNeck, kNeck}, {kSlotRightHand, kWeapon},
                 {kSlotLeftHand, kShield}, {kSlotBody, kBody}, {kSlotLegs, kLegs}};
    g().Inventory->Clear();
    for (const auto& s : slots) {
        auto it = Carry(L"x", s.kind);
        it->WeaponPlus = 8;
        it->DefendPlus = 8;
        it->Critical = 60;
        ChangeItem(s.slot, 1);
    }
    CalculateWeapons();
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Defence, hero().Critical), std::tuple(33.0, 30.0, 2.0));
}

TEST_F(Equipment, OnePieceOfAStackGoesOnAndComesBack) {
    auto boots = Carry(L"Сапоги", kLegs, L"", 2);
    ChangeItem(kSlotLegs, 1);
    EXPECT_EQ(boots->ItemCount, 1);
    EXPECT_EQ(g().Inventory->Count(), 1);
    RemItem(kSlotLegs);
    ASSERT_EQ(g().Inventory->Count(), 2);
    EXPECT_EQ(boots->ItemCount + g().Inventory->Item(2)->ItemCount, 1);
}

TEST_F(Equipment, HeadItemsRunTheirScriptOnAndOffOthersNever) {
    WriteText(L"scripts/helm.itm", L"var w\r\nw ~ getvar(\"wear\")\r\nsetq(w;\"1\")\r\ntake(\"Хлеб\")\r\n");
    Carry(L"Хлеб", kFood);
    auto helm = Carry(L"Шлем", kHead);
    helm->ItemScript = L"helm.itm";
    auto amulet = Carry(L"Амулет", kNeck);
    amulet->ItemScript = L"helm.itm";
    ChangeItem(kSlotHead, 2);
    EXPECT_EQ(g().QuestFlags[1], 1);
    EXPECT_EQ(g().WearMode, 0);
    // The script took the bread before the helmet left the pack: the amulet stays.
    ASSERT_EQ(g().Inventory->Count(), 1);
    EXPECT_EQ(g().Inventory->Item(1), amulet);
    RemItem(kSlotHead);
    EXPECT_EQ(g().QuestFlags[2], 1);
    EXPECT_EQ(g().WearMode, 2);
    g().QuestFlags = {};
    ChangeItem(kSlotNeck, 1);
    RemItem(kSlotNeck);
    EXPECT_EQ(g().QuestFlags, (std::array<Integer, 50>{}));
    helm->ItemScript = L"missing.itm";
    g().Inventory->Append(helm);
    ChangeItem(kSlotHead, g().Inventory->Count());
    EXPECT_EQ(g().Equip[kSlotHead][kEqName], Variant(L"Шлем"));
}

TEST_F(Equipment, TheScreenTakesKeysAndACancelledChoiceChangesNothing) {
    Carry(L"Льняная рубаха", kBody);
    ui_.equipmentVisit = [&] {
        const auto captions = g().gameScreen.equip.captions;
        EXPECT_TRUE(g().gameScreen.equip.visible);
        ui_.pickAnswers = {0};
        EXPECT_FALSE(EquipScreenKey('E'));
        EXPECT_EQ(g().gameScreen.equip.captions, captions);
        EXPECT_EQ(g().Inventory->Count(), 1);
        ui_.pickAnswers = {1};
        EquipScreenKey('E');
        EXPECT_TRUE(EquipScreenKey(kVkEscape));
    };
    const int turn = w().Turn;
    Key('I');
    EXPECT_EQ(g().Equip[kSlotBody][kEqName], Variant(L"Льняная рубаха"));
    EXPECT_EQ(g().gameScreen.equip.captions[kSlotBody], L"Тело[E]:Льняная рубаха[0,0]");
    EXPECT_FALSE(g().gameScreen.equip.visible);
    EXPECT_EQ(w().Turn, turn);
    EXPECT_EQ(ui_.log.back(), L"Pick|Инвентарь...|Монет:0|Льняная рубаха[0,0] (0%)  (1шт.)");
    hero().Science = 100;
    hero().Magic = 50;
    hero().Profession = kMonk;
    CloseEquipScreenWithMagic();
    EXPECT_DOUBLE_EQ(hero().MConst, 4);
    hero().Profession = kPrince;
    CloseEquipScreenWithMagic();
    EXPECT_DOUBLE_EQ(hero().MConst, 2);
}

}  // namespace
}  // namespace morvath
