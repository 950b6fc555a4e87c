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
};

TEST_F(Equipment, BonusCodesApplyWhileWornAndCancelWhenTakenOff) {
    // Strength, luck, will, magic, appearance, dexterity.
    auto values = [&] { return std::array{hero().Strenght, double(hero().Luck), hero().WillPower, hero().Magic, hero().Appearance, hero().Mobility}; };
    const std::pair<const wchar_t*, std::array<double, 6>> cases[] = {
        {L"Lu+3", {0, 3}},       {L"St-5", {-5}},           {L"Ch+2", {0, 0, 0, 0, 2}},    {L"Ap+2", {0, 0, 0, 0, 2}},
        {L"Wi-10", {0, 0, -10}}, {L"Ma+15", {0, 0, 0, 15}}, {L"Dx+1", {0, 0, 0, 0, 0, 1}}, {L"St+123", {23}},
        {L"Xx+5", {}},           {L"St*5", {}},             {L"st+5", {}},                 {L"", {}}, {L"St", {}},
    };
    hero().Strenght = 10;
    for (const auto& [code, change] : cases) {
        const auto before = values();
        Carry(L"Кольцо", kNeck, code);
        ChangeItem(kSlotNeck, 1);
        auto worn = values();
        for (std::size_t i = 0; i < 6; ++i) worn[i] -= change[i];
        RemItem(kSlotNeck);
        EXPECT_EQ(std::tuple(worn, values()), std::tuple(before, before)) << ToUtf8(code);
        g().Inventory->Clear();
    }
}

TEST_F(Equipment, BlowDefenceAndCriticalComeFromTheSlots) {
    auto blow = [&] { return std::tuple(hero().Weapon, hero().Defence, hero().Critical); };
    auto sword = Carry(L"Меч", kWeapon);
    std::tie(sword->WeaponPlus, sword->Critical, sword->Weight) = std::tuple(5, 30, 4.0);
    ui.pickAnswers = {1};
    ToggleSlot(kSlotRightHand);
    EXPECT_EQ(std::tuple(blow(), g().Inventory->Count(), hero().Weight, g().gameScreen.equip.captions[kSlotRightHand]),
              std::tuple(std::tuple(6.0, 0.0, 0.5), 0L, 4.0, std::wstring(L"Правая рука[C]:Меч[5,0]")));
    ToggleSlot(kSlotRightHand);
    EXPECT_EQ(std::tuple(blow(), g().Inventory->Item(1)->Critical, g().gameScreen.equip.captions[kSlotRightHand]),
              std::tuple(std::tuple(1.0, 0.0, 0.0), Integer(30), std::wstring(L"Правая рука[C]:[0,0]")));
    // Every slot with attack 8, defence 8 and critical 60.
    g().Inventory->Clear();
    for (auto [slot, kind] : {std::pair{kSlotHead, kHead}, {kSlotNeck, kNeck}, {kSlotRightHand, kWeapon},
                              {kSlotLeftHand, kShield}, {kSlotBody, kBody}, {kSlotLegs, kLegs}}) {
        auto it = Carry(L"x", kind);
        std::tie(it->WeaponPlus, it->DefendPlus, it->Critical) = std::tuple(8, 8, 60);
        ChangeItem(slot, 1);
    }
    EquipScreenKey('G');  // any key on the screen works the blow out anew
    EXPECT_EQ(blow(), std::tuple(33.0, 30.0, 2.0));
}

TEST_F(Equipment, OnePieceOfAStackGoesOnAndComesBackWhole) {
    auto boots = Carry(L"Сапоги", kLegs, L"Dx+1", 2);
    std::tie(boots->ItemInfo, boots->itembalance, boots->ItemScript, boots->WeaponPlus, boots->DefendPlus, boots->Critical) =
        std::tuple(L"кожа", -1, L"b.itm", 3, 4, 5);
    auto fields = [](const Item& i) {
        return std::tuple(i.ItemName, long(i.ItemType), i.ItemInfo, long(i.itembalance), i.ItemScript, int(i.WeaponPlus),
                          int(i.DefendPlus), i.Weight, int(i.Critical), i.SkillPlus);
    };
    for (int none : {-1, 6}) {  // no such slot: nothing moves
        ChangeItem(none, 1);
        RemItem(none);
    }
    ChangeItem(kSlotLegs, 1);
    EXPECT_EQ(std::tuple(boots->ItemCount, g().Inventory->Count()), std::tuple(1, 1L));
    RemItem(kSlotLegs);
    ASSERT_EQ(g().Inventory->Count(), 2);
    EXPECT_EQ(std::tuple(fields(*g().Inventory->Item(2)), g().Inventory->Item(2)->ItemCount, g().Equip[kSlotLegs]),
              std::tuple(fields(*boots), 0, std::array<Variant, 10>{L"", 0, L"", 0, L"", 0, 0, 0, 0, L""}));
}

TEST_F(Equipment, HeadItemsRunTheirScriptOnAndOffOthersNever) {
    WriteText(L"scripts/helm.itm", L"var w\r\nw ~ getvar(\"wear\")\r\nsetq(w;\"1\")\r\ntake(\"Хлеб\")\r\n");
    Carry(L"Хлеб", kFood);
    auto helm = Carry(L"Шлем", kHead);
    auto amulet = Carry(L"Амулет", kNeck);
    helm->ItemScript = amulet->ItemScript = L"helm.itm";
    ChangeItem(kSlotHead, 2);
    // The script took the bread before the helmet left the pack: the amulet stays.
    EXPECT_EQ(std::tuple(int(g().QuestFlags[1]), int(g().WearMode), g().Inventory->Count(), g().Inventory->Item(1)), std::tuple(1, 0, 1L, amulet));
    RemItem(kSlotHead);  // the item back in the pack is the one its script works on
    EXPECT_EQ(std::tuple(int(g().QuestFlags[2]), int(g().WearMode), g().CurItem == g().Inventory->Item(2)), std::tuple(1, 2, true));
    g().QuestFlags = {};
    ChangeItem(kSlotNeck, 1);
    RemItem(kSlotNeck);
    helm->ItemScript = L"missing.itm";
    g().Inventory->Append(helm);
    ChangeItem(kSlotHead, g().Inventory->Count());
    EXPECT_EQ(std::tuple(g().QuestFlags, g().Equip[kSlotHead][kEqName]), std::tuple(std::array<Integer, 50>{}, Variant(L"Шлем")));
}

TEST_F(Equipment, TheScreenTakesKeysAndACancelledChoiceChangesNothing) {
    Carry(L"Рубаха", kBody);
    ui.equipmentVisit = [&] {
        ui.pickAnswers = {0, 1};
        EXPECT_FALSE(EquipScreenKey('E'));
        EXPECT_EQ(std::tuple(g().gameScreen.equip.captions[kSlotBody], g().Inventory->Count(), g().gameScreen.equip.visible),
                  std::tuple(L"Тело[E]:[,]", 1L, true));
        EquipScreenKey('E');
        const int picks = ui.Count(L"Pick|");
        for (int key : {'@', 'A', 'F', 'G'}) EquipScreenKey(key);  // A..F choose, the keys beside them do not
        EXPECT_EQ(ui.Count(L"Pick|"), picks + 2);
        EXPECT_TRUE(EquipScreenKey(kVkEscape));
    };
    const int turn = w().Turn;
    Key('I');
    EXPECT_EQ(std::tuple(g().gameScreen.equip.captions[kSlotBody], g().gameScreen.equip.captions[kSlotHead], g().gameScreen.equip.visible, int(w().Turn)),
              std::tuple(L"Тело[E]:Рубаха[0,0]", L"Голова[A]:[,]", false, turn));
    std::tie(hero().Science, hero().Magic, hero().Profession) = std::tuple(100, 50, kMonk);
    g().gameScreen.equip.visible = true;
    CloseEquipScreenWithMagic();
    EXPECT_EQ(std::tuple(hero().MConst, g().gameScreen.equip.visible), std::tuple(4.0, false));
    hero().Profession = kPrince;
    CloseEquipScreenWithMagic();
    EXPECT_EQ(hero().MConst, 2.0);
}

}  // namespace
}  // namespace morvath
