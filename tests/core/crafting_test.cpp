// The skills that take carried items through the picker: herb lore, alchemy, smithing,
// cooking, consecrating, the campfire and the bow shot.
#include <tuple>

#include "skill_fixture.h"

using namespace morvath;

namespace {

class Crafting : public SkillTest {
protected:
    // Runs the skill with the picker answering these inventory positions in turn.
    void Use(const wchar_t* skill, std::deque<int> picks) {
        g().Skills[0][0] = Variant(std::wstring(skill));
        ui.pickAnswers = std::move(picks);
        UseSkill(0);
    }
};

TEST_F(Crafting, HerbLoreAndAlchemyMixAPairInEitherOrder) {
    const struct Case { const wchar_t* skill; long kind; const wchar_t *first, *second, *made, *script; } cases[] = {
        {L"Знание трав", kBerry, L"Земляника", L"Брусника", L"Порошок силы", L"stdust.itm"},
        {L"Знание трав", kBerry, L"Брусника", L"Земляника", L"Порошок силы", L"stdust.itm"},
        {L"Знание трав", kBerry, L"Черника", L"Земляника", L"Питательный порошок", L"hudust.itm"},
        {L"Знание трав", kBerry, L"Волчья ягода", L"Бузина", L"Лекарство", L"ledust.itm"},
        {L"Знание трав", kBerry, L"Бузина", L"Волчья ягода", L"Лекарство", L"ledust.itm"},
        {L"Знание трав", kBerry, L"Клюква", L"Волчья ягода", L"Порошок здоровья", L"hpdust.itm"},
        {L"Знание трав", kBerry, L"Клюква", L"Черника", L"Мешанина", L"unkya.itm"},
        {L"Алхимия", kDrink, L"Чаша 'Огненной Воды'", L"Чаша Зелёной Браги", L"Напиток мудрости", L"mdrink.itm"},
        {L"Алхимия", kDrink, L"Чаша Ядовитой Браги", L"Чаша Браги Сытости", L"Напиток силы", L"stdrink.itm"},
        {L"Алхимия", kDrink, L"Чаша Браги Сытости", L"Чаша Ядовитой Браги", L"Напиток силы", L"stdrink.itm"},
        {L"Алхимия", kDrink, L"Чаша Зелёной Браги", L"Чаша Браги Сытости", L"Непонятная жидкость.", L"unkya.itm"},
    };
    for (const Case& c : cases) {
        g().Inventory->Clear();
        Carry(L"Хлеб", kFood);
        Carry(c.first, c.kind, 4);  // a stack of five gives one
        Carry(c.second, c.kind);
        Use(c.skill, {2, 3});
        const auto made = g().Inventory->Item(3);
        ASSERT_EQ(CarriedNames(), (std::vector<std::wstring>{L"Хлеб", c.first, c.made})) << c.first << L" + " << c.second;
        EXPECT_EQ(std::tuple(g().Inventory->Item(2)->ItemCount, made->ItemScript, made->ItemType, made->Weight),
                  std::tuple(3, c.script, c.kind == kBerry ? kPowder : kDrink, c.kind == kBerry ? 0.02 : 0.9));
    }
}

TEST_F(Crafting, MixingAThingWithItselfOrWithNothingChangesNothing) {
    Carry(L"Клюква", kBerry, 2);
    Carry(L"Чаша Браги Сытости", kDrink);
    Use(L"Знание трав", {1, 1});
    EXPECT_EQ(Said(), Says(L"Нельзя смешать ягоду саму с себя"));
    Use(L"Алхимия", {2, 2});
    EXPECT_EQ(Said(), Says(L"Нельзя смешать зелье само с собою.."));
    Use(L"Знание трав", {1});
    EXPECT_EQ(CarriedNames(), (std::vector<std::wstring>{L"Клюква", L"Чаша Браги Сытости"}));
    EXPECT_EQ(g().Inventory->Item(1)->ItemCount, 2);
}

TEST_F(Crafting, CookingLearnsAMeatOnceAndRoastsItOnlyBeforeAFire) {
    auto& learned = g().Skills[0][2];
    hero().Luck = 0;
    Carry(L"Сырое мясо.", kFood, 1);
    DrawsWhere(1, [](const std::vector<double>& r) { return r[0] < 0.75; });
    Use(L"Готовить", {1});  // one piece of the two is spent
    EXPECT_EQ(std::tuple(Said(), learned.ToText(), g().Inventory->Item(1)->ItemCount),
              std::tuple(Says(L"Пробуем приготовить... Ничего не получилось..."), L" Сырое мясо.", 0));
    // Known now: cooked whatever the luck, and before the stove it comes out roasted.
    Put(5, 6, L"}");
    Use(L"Готовить", {1});
    EXPECT_EQ(std::tuple(Said(), CarriedNames()), std::tuple(Says(L"Приготовлено!"), std::vector<std::wstring>{L"Жареное мясо."}));
    // A carcass is meat too, roasted at a campfire; bread is not meat.
    Put(5, 6, L"•");
    Carry(L"Труп волка", kFood);
    Carry(L"Хлеб", kFood);
    hero().Luck = 4;
    Use(L"Готовить", {2});
    EXPECT_EQ(std::tuple(Said(), learned.ToText()), std::tuple(Says(L"Пробуем приготовить... Получилось!"), L" Сырое мясо. Труп волка"));
    Use(L"Готовить", {2});
    EXPECT_EQ(std::tuple(Said(), CarriedNames()), std::tuple(Says(L"Невозможно приготовить"),
                                                             std::vector<std::wstring>{L"Жареное мясо.", L"Хлеб", L"Жареное мясо."}));
}

TEST_F(Crafting, TheCampfireBurnsOnePieceOnGrassOnly) {
    Use(L"Разжигать костер", {});
    EXPECT_EQ(Said(), Says(L"Для костра нужно топливо!"));
    auto logs = Carry(L"Бревно", kFuel, 2);
    Put(6, 5, L"п");
    g().FacingDir = 3;
    Use(L"Разжигать костер", {1});
    EXPECT_EQ(std::tuple(Said(), logs->ItemCount), std::tuple(Says(L"Здесь нельзя разжечь костер!"), 2));
    g().FacingDir = 2;
    Use(L"Разжигать костер", {1});
    EXPECT_EQ(std::tuple(At(5, 6), logs->ItemCount), std::tuple(L"•", 1));
}

TEST_F(Crafting, SmeltingThenForgingAtTheAnvil) {
    g().Equip[kSlotRightHand][kEqName] = Variant(std::wstring(L"Молот"));
    Put(5, 6, L"&");
    Carry(L"Железная руда", kOre);
    Use(L"Кузнечное дело", {1});
    EXPECT_EQ(std::tuple(CarriedNames(), g().ForgeChoice), std::tuple(std::vector<std::wstring>{L"Слиток железа"}, false));
    // The ingot opens the forge's choices; the game's keys wait for the answer.
    Use(L"Кузнечное дело", {1});
    ASSERT_TRUE(g().ForgeChoice);
    ASSERT_EQ(g().gameScreen.skills.lines.size(), 7u);
    EXPECT_EQ(g().gameScreen.skills.lines[4], L"Доковать Меч");
    Key(kVkDown);
    EXPECT_EQ(g().PlayerY, 5);
    auto sword = Carry(L"Меч", kWeapon);
    sword->WeaponPlus = 3;
    hero().Strenght = 4;
    auto d = DrawsWhere(1, [](const std::vector<double>& r) { return r[0] > 0.5; });
    ui.pickAnswers = {2};
    g().gameScreen.skills.ListIndex = 4;
    ChooseSkill();
    EXPECT_EQ(std::tuple(sword->WeaponPlus, sword->Weight, CarriedNames()),
              std::tuple(3 + Int(2 * d[0] + 2), 1.4, std::vector<std::wstring>{L"Меч"}));
    // A wooden shield cannot take iron.
    Carry(L"Слиток железа", kOre);
    Carry(L"деревянный щит", kShield);
    Use(L"Кузнечное дело", {2});
    ui.pickAnswers = {3};
    g().gameScreen.skills.ListIndex = 5;
    ChooseSkill();
    EXPECT_EQ(std::tuple(Said(), g().Inventory->Count()), std::tuple(Says(L"Доковать невозможно!"), 3));
}

TEST_F(Crafting, ConsecratingBlessesAnyItemButTheAmuletNeedsWill) {
    auto cup = Carry(L"Чаша", kDrink);
    Carry(L"Амулет драконов", kNeck);
    Use(L"Освятить вещь", {1});
    EXPECT_EQ(cup->itembalance, 1);
    hero().WillPower = 7.99;
    Use(L"Освятить вещь", {2});
    EXPECT_EQ(Said(), Says(L"Ваши руки дрожат...Слабая Сила Воли не позволяет вам сделать это..."));
}

TEST_F(Crafting, TheArrowFliesUntilItHitsAndTheLastOneIsGoneAfterwards) {
    g().Equip[kSlotLeftHand][kEqType] = Variant(static_cast<double>(kBow));
    g().Equip[kSlotLeftHand][kEqCritical] = Variant(100.0);
    Use(L"Стрелять из лука", {});
    EXPECT_EQ(Said(), Says(L"Вам нечем стрелять!"));
    auto arrows = Carry(L"Стрелы", kArrows, 1);
    g().FacingDir = 1;
    Use(L"Стрелять из лука", {1});  // nobody up there: five cells, then gone
    EXPECT_EQ(std::tuple(frames.size(), frames.back().picture, frames.back().y, arrows->ItemCount), std::tuple(5u, Pic::a1, 0, 0));
    // The last arrow hits the wolf two cells down, and is used up after its flight.
    frames.clear();
    g().FacingDir = 2;
    auto wolf = AddNpc(L"Волк", 5, 7, 100);
    DrawsWhere(2, [](const std::vector<double>& r) { return r[0] > 0.1; });
    Use(L"Стрелять из лука", {1});
    EXPECT_EQ(std::tuple(frames.size(), frames.back().picture, wolf->Tactic, g().Inventory->Contains(arrows), g().AnimationRunning),
              std::tuple(2u, Pic::a3, kTacticApproach, false, false));
    g().Equip[kSlotLeftHand][kEqType] = Variant(0.0);
    Use(L"Стрелять из лука", {});
    EXPECT_EQ(Said(), Says(L"Вам не из чего стрелять, возьмите лук в руку!"));
}

}  // namespace
