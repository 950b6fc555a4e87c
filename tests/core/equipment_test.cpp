// Putting items on and taking them off: bonus codes, head-item scripts, the hero's blow,
// defence and critical factor.
#include <gtest/gtest.h>

#include "game/worn_items.h"
#include "world/equipment.h"
#include "screen_fixture.h"

namespace morvath {
namespace {

class Equipment : public ScreenTest {
protected:
    std::shared_ptr<Item> Carry(const wchar_t* name, long type, const wchar_t* skill = L"", int count = 0) {
        auto it = g().Inventory->Add();
        std::tie(it->ItemName, it->ItemType, it->SkillPlus, it->ItemCount, it->Weight) = std::tuple(name, type, skill, count, 2);
        return it;
    }
    MainCharacter& hero() { return *g().Player; }
    // Strength, luck, will, magic, appearance, dexterity.
    std::array<double, 6> Values() {
        return {hero().Strenght, static_cast<double>(hero().Luck), hero().WillPower, hero().Magic, hero().Appearance,
                hero().Mobility};
    }
};

TEST_F(Equipment, BonusCodesApplyWhileWornAndCancelWhenTakenOff) {
    struct Case {
        const wchar_t* code;
        std::array<double, 6> change;
    } cases[] = {
        {L"Lu+3", {0, 3}},         {L"St-5", {-5}},           {L"Ch+2", {0, 0, 0, 0, 2}}, {L"Ap+2", {0, 0, 0, 0, 2}},
        {L"Wi-10", {0, 0, -10}},   {L"Ma+15", {0, 0, 0, 15}}, {L"Dx+1", {0, 0, 0, 0, 0, 1}}, {L"St+123", {23}},
        {L"Xx+5", {}},             {L"St*5", {}},             {L"st+5", {}},             {L"", {}}, {L"St", {}},
    };
    hero().Strenght = 10;
    for (const auto& c : cases) {
        const auto before = Values();
        Carry(L"Кольцо", kNeck, c.code);
        ChangeItem(kSlotNeck, 1);
        auto expected = before;
        for (std::size_t i = 0; i < 6; ++i) expected[i] += c.change[i];
        EXPECT_EQ(Values(), expected) << ToUtf8(c.code);
        RemItem(kSlotNeck);
        EXPECT_EQ(Values(), before) << ToUtf8(c.code);
        g().Inventory->Clear();
    }
}

TEST_F(Equipment, BlowDefenceAndCriticalComeFromTheSlots) {
    CalculateWeapons();
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Defence, hero().Critical), std::tuple(1.0, 0.0, 0.0));
    auto sword = Carry(L"Меч", kWeapon);
    std::tie(sword->WeaponPlus, sword->Critical, sword->Weight) = std::tuple(5, 30, 4.0);
    ui.pickAnswers = {1};
    ToggleSlot(kSlotRightHand);
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Critical, g().Inventory->Count(), hero().Weight),
              std::tuple(6.0, 0.5, 0L, 4.0));
    EXPECT_EQ(g().gameScreen.equip.captions[kSlotRightHand], L"Правая рука[C]:Меч[5,0]");
    ToggleSlot(kSlotRightHand);
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Critical, g().Inventory->Count(), g().Inventory->Item(1)->Critical),
              std::tuple(1.0, 0.0, 1L, Integer(30)));
    EXPECT_EQ(g().gameScreen.equip.captions[kSlotRightHand], L"Правая рука[C]:[0,0]");
    // Every slot with attack 8, defence 8 and critical 60.
    g().Inventory->Clear();
    for (auto [slot, kind] : {std::pair{kSlotHead, kHead}, {kSlotNeck, kNeck}, {kSlotRightHand, kWeapon},
                              {kSlotLeftHand, kShield}, {kSlotBody, kBody}, {kSlotLegs, kLegs}}) {
        auto it = Carry(L"x", kind);
        std::tie(it->WeaponPlus, it->DefendPlus, it->Critical) = std::tuple(8, 8, 60);
        ChangeItem(slot, 1);
    }
    CalculateWeapons();
    EXPECT_EQ(std::tuple(hero().Weapon, hero().Defence, hero().Critical), std::tuple(33.0, 30.0, 2.0));
}

TEST_F(Equipment, OnePieceOfAStackGoesOnAndComesBackWhole) {
    auto boots = Carry(L"Сапоги", kLegs, L"Dx+1", 2);
    std::tie(boots->ItemInfo, boots->itembalance, boots->ItemScript, boots->WeaponPlus, boots->DefendPlus, boots->Critical) =
        std::tuple(L"кожа", -1, L"b.itm", 3, 4, 5);
    auto fields = [](const Item& i) {
        return std::tuple(i.ItemName, long(i.ItemType), i.ItemInfo, long(i.itembalance), i.ItemScript, int(i.WeaponPlus),
                          int(i.DefendPlus), i.Weight, int(i.Critical), i.SkillPlus);
    };
    ChangeItem(kSlotLegs, 1);
    EXPECT_EQ(std::tuple(boots->ItemCount, g().Inventory->Count()), std::tuple(1, 1L));
    RemItem(kSlotLegs);
    ASSERT_EQ(g().Inventory->Count(), 2);
    EXPECT_EQ(fields(*g().Inventory->Item(2)), fields(*boots));
    EXPECT_EQ(boots->ItemCount + g().Inventory->Item(2)->ItemCount, 1);
    EXPECT_EQ(g().Equip[kSlotLegs], (std::array<Variant, 10>{L"", 0, L"", 0, L"", 0, 0, 0, 0, L""}));
}

TEST_F(Equipment, HeadItemsRunTheirScriptOnAndOffOthersNever) {
    WriteText(L"scripts/helm.itm", L"var w\r\nw ~ getvar(\"wear\")\r\nsetq(w;\"1\")\r\ntake(\"Хлеб\")\r\n");
    Carry(L"Хлеб", kFood);
    auto helm = Carry(L"Шлем", kHead);
    auto amulet = Carry(L"Амулет", kNeck);
    helm->ItemScript = amulet->ItemScript = L"helm.itm";
    ChangeItem(kSlotHead, 2);
    // The script took the bread before the helmet left the pack: the amulet stays.
    EXPECT_EQ(std::tuple(static_cast<int>(g().QuestFlags[1]), static_cast<int>(g().WearMode), g().Inventory->Count(),
                         g().Inventory->Item(1)),
              std::tuple(1, 0, 1L, amulet));
    RemItem(kSlotHead);
    EXPECT_EQ(std::tuple(static_cast<int>(g().QuestFlags[2]), static_cast<int>(g().WearMode)), std::tuple(1, 2));
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
    Carry(L"Рубаха", kBody);
    ui.equipmentVisit = [&] {
        const auto captions = g().gameScreen.equip.captions;
        ui.pickAnswers = {0, 1};
        EXPECT_FALSE(EquipScreenKey('E'));
        EXPECT_EQ(std::tuple(g().gameScreen.equip.captions, g().Inventory->Count(), g().gameScreen.equip.visible),
                  std::tuple(captions, 1L, true));
        EquipScreenKey('E');
        const int picks = ui.Count(L"Pick|");
        for (int key : {'@', 'A', 'F', 'G'}) EquipScreenKey(key);  // A..F choose, the keys beside them do not
        EXPECT_EQ(ui.Count(L"Pick|"), picks + 2);
        EXPECT_TRUE(EquipScreenKey(kVkEscape));
    };
    const int turn = w().Turn;
    Key('I');
    EXPECT_EQ(std::tuple(g().gameScreen.equip.captions[kSlotBody], g().gameScreen.equip.visible, static_cast<int>(w().Turn)),
              std::tuple(std::wstring(L"Тело[E]:Рубаха[0,0]"), false, turn));
    EXPECT_EQ(g().gameScreen.equip.captions[kSlotHead], L"Голова[A]:[,]");
    std::tie(hero().Science, hero().Magic, hero().Profession) = std::tuple(100, 50, kMonk);
    g().gameScreen.equip.visible = true;
    CloseEquipScreenWithMagic();
    EXPECT_EQ(std::tuple(hero().MConst, g().gameScreen.equip.visible), std::tuple(4.0, false));
    hero().Profession = kPrince;
    CloseEquipScreenWithMagic();
    EXPECT_DOUBLE_EQ(hero().MConst, 2);
}

}  // namespace
}  // namespace morvath
