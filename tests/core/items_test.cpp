// Carried and floor items: the picker's lines, picking up, dropping, using, looking.
#include <gtest/gtest.h>

#include "game/items.h"
#include "screen_fixture.h"

namespace morvath {
namespace {

struct ItemSpec {
    const wchar_t* name;
    long type;
    int count = 0;
    int weapon = 0, defend = 0, critical = 0;
    const wchar_t* skill = L"";
    const wchar_t* script = L"";
    double weight = 1;
};

class Items : public ScreenTest {
protected:
    std::shared_ptr<Item> Fill(Item& it, const ItemSpec& s) {
        it.ItemName = s.name;
        it.ItemType = s.type;
        it.ItemCount = s.count;
        it.WeaponPlus = s.weapon;
        it.DefendPlus = s.defend;
        it.Critical = s.critical;
        it.SkillPlus = s.skill;
        it.ItemScript = s.script;
        it.Weight = s.weight;
        return nullptr;
    }
    std::shared_ptr<Item> Carry(const ItemSpec& s) {
        auto it = g().Inventory->Add();
        Fill(*it, s);
        return it;
    }
    std::shared_ptr<Item> Lay(const ItemSpec& s, int x = 5, int y = 5) {
        auto it = w().mapItemCol->Add();
        Fill(*it, s);
        it->X = x;
        it->Y = y;
        return it;
    }
    std::vector<std::wstring> Rows() const {
        std::vector<std::wstring> r;
        for (const auto& row : ui_.lastPicker.rows) r.push_back(row.line);
        return r;
    }
};

TEST_F(Items, ListLinesShowBonusesForWeaponsShieldsAndClothing) {
    struct Case {
        ItemSpec item;
        const wchar_t* line;
    } cases[] = {
        {{L"Еда", kFood, 1}, L"Еда  (2шт.)"},
        {{L"Неизвестные ягоды", kFood}, L"Неизвестные ягоды  (1шт.)"},
        {{L"Кинжал", kWeapon, 0, 5, 0, 70}, L"Кинжал[5,0] (70%)  (1шт.)"},
        {{L"Щит", kShield, 2, 0, 3, 0, L"St+2"}, L"Щит[0,3] (0%)St+2  (3шт.)"},
        {{L"Сапоги", kLegs, 0, 0, 1}, L"Сапоги[0,1] (0%)  (1шт.)"},
        {{L"Льняная рубаха", kBody}, L"Льняная рубаха[0,0] (0%)  (1шт.)"},
        {{L"Шлем", kHead, 0, 1, 2, 3}, L"Шлем[1,2] (3%)  (1шт.)"},
        {{L"Амулет", kNeck, 0, 1, 2, 3, L"Wi+6"}, L"Амулет  (1шт.)"},
        {{L"Лук", kBow, 0, 4}, L"Лук  (1шт.)"},
    };
    g().Money = 100;
    for (const auto& c : cases) Carry(c.item);
    ui_.pickAnswers = {0};
    EXPECT_EQ(ChooseCarriedItem(), 0);
    ASSERT_EQ(ui_.lastPicker.rows.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Rows()[i], cases[i].line);
    EXPECT_EQ(ui_.lastPicker.caption, L"Инвентарь...");
    EXPECT_EQ(ui_.lastPicker.money, L"Монет:100");
    EXPECT_EQ(ui_.lastPicker.rows[0].weight, L"Вес: 1");
}

TEST_F(Items, ChoosingOfAKindKeepsRowsOnInventoryPositions) {
    Carry({L"Еда", kFood});
    Carry({L"Льняная рубаха", kBody});
    Carry({L"", kBody});
    for (auto [answer, result] : {std::pair{1, 0}, {2, 2}, {3, 0}, {0, 0}, {9, 0}}) {
        ui_.pickAnswers = {answer};
        EXPECT_EQ(ChooseItemOfKind(kBody), result) << answer;
        EXPECT_EQ(g().PickedIndex, result);
    }
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"...", L"Льняная рубаха[0,0] (0%)  (1шт.)", L"..."}));
}

TEST_F(Items, TheInventoryLeadsEachRowToTheItemItShows) {
    Carry({L"", kFood});
    Carry({L"Еда", kFood});
    Carry({L"Хлеб", kFood});
    ui_.pickAnswers = {2};
    ShowInventory();
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Еда  (1шт.)", L"Хлеб  (1шт.)"}));
    EXPECT_EQ(g().PickedIndex, 3);
}

TEST_F(Items, PickingUpStacksOntoTheLastEqualCarriedItem) {
    auto first = Carry({L"Стрела", kArrows, 0, 1, 0, 5});
    auto last = Carry({L"Стрела", kArrows, 0, 1, 0, 5});
    Lay({L"Стрела", kArrows, 0, 1, 0, 5});
    Lay({L"Стрела", kFood, 0, 1, 0, 5})->ItemInfo = L"другое описание";  // kind and text do not count
    Lay({L"Стрела", kArrows, 0, 1, 0, 6});                                // the critical value does
    Lay({L"Стрела", kArrows, 0, 1, 0, 5}, 6, 5);                          // another square
    Put(5, 5, L"9");
    Key(kVkComma);
    EXPECT_EQ(g().screen.txtSpeech, L"Вы подняли: Стрела\r\n\r\n[пробел]");
    EXPECT_EQ(last->ItemCount, 1);
    EXPECT_EQ(first->ItemCount, 0);
    EXPECT_EQ(At(5, 5), L"9");  // more lies here
    Key(kVkSemicolon);
    EXPECT_EQ(last->ItemCount, 2);
    Key(kVkComma);
    ASSERT_EQ(g().Inventory->Count(), 3);
    EXPECT_EQ(g().Inventory->Item(3)->Critical, 6);
    EXPECT_EQ(g().Inventory->Item(3)->ItemCount, 0);
    EXPECT_EQ(At(5, 5), L"G");
    EXPECT_EQ(w().mapItemCol->Count(), 1);
    EXPECT_DOUBLE_EQ(g().Player->Weight, 5);
    Key(kVkComma);
    EXPECT_EQ(g().screen.txtSpeech, L"Здесь ничего не лежит...\r\n\r\n[пробел]");
}

TEST_F(Items, WhatLiesOnTheFloorDecidesAndAnEmptyHeapIsCleared) {
    Lay({L"Нож", kWeapon});
    Put(5, 5, L"G");  // a character walked over the heap
    Key(kVkComma);
    EXPECT_EQ(g().Inventory->Count(), 1);
    Put(5, 5, L"9");  // a heap with nothing in it
    Key(kVkComma);
    EXPECT_EQ(g().screen.txtSpeech, L"Здесь ничего не лежит...\r\n\r\n[пробел]");
    EXPECT_EQ(At(5, 5), L"G");
}

TEST_F(Items, DroppingLeavesOnePieceOnTheFloorAndWritesTheItems) {
    auto arrows = Carry({L"Стрела", kArrows, 2, 1, 0, 5, L"", L"", 0.1});
    ui_.pickAnswers = {1, 0, 1, 1};
    Key('D');
    EXPECT_EQ(arrows->ItemCount, 1);
    ASSERT_EQ(w().mapItemCol->Count(), 1);
    const Item& dropped = *w().mapItemCol->Item(1);
    EXPECT_EQ(dropped.ItemName, L"Стрела");
    EXPECT_EQ(dropped.ItemCount, 0);
    EXPECT_EQ(dropped.Critical, 5);
    EXPECT_EQ(dropped.X, 5);
    EXPECT_EQ(dropped.Y, 5);
    EXPECT_EQ(At(5, 5), L"9");
    EXPECT_TRUE(fs::exists(folder() / "saved" / "town.itm"));
    EXPECT_NEAR(g().Player->Weight, 0.2, 1e-9);
    Key('D');  // nothing picked
    EXPECT_EQ(w().mapItemCol->Count(), 1);
    Key('D');
    Key('D');
    EXPECT_EQ(g().Inventory->Count(), 0);
    EXPECT_EQ(w().mapItemCol->Count(), 3);
    w().WorldName = L"wild";
    Carry({L"Еда", kFood});
    ui_.pickAnswers = {1};
    Key('D');
    EXPECT_EQ(g().screen.lblII, L"Не на карте...");
    EXPECT_EQ(g().Inventory->Count(), 1);
}

TEST_F(Items, UsingAndEatingRunTheItemsScriptOnThatItem) {
    WriteText(L"scripts/food.itm", L"plusvar(\"hungry\";\"-100\")\r\ntake(\"Хлеб\")\r\nremove()\r\n");
    Carry({L"Хлеб", kFood});
    auto food = Carry({L"Еда", kFood, 1, 0, 0, 0, L"", L"food.itm"});
    ui_.pickAnswers = {2};
    const int turn = w().Turn;
    Key('U');
    // The script took the bread first: the piece eaten is still the food's.
    ASSERT_EQ(g().Inventory->Count(), 1);
    EXPECT_EQ(food->ItemCount, 0);
    EXPECT_EQ(w().Turn, turn + 1);
    const int hungry = g().Player->Hungry;
    ui_.pickAnswers = {0};
    Key('E');
    EXPECT_EQ(w().Turn, turn + 1);  // nothing eaten: no turn
    ui_.pickAnswers = {1};
    Key('E');
    EXPECT_EQ(g().Inventory->Count(), 0);
    EXPECT_LT(g().Player->Hungry, hungry);
    EXPECT_EQ(w().Turn, turn + 2);
}

TEST_F(Items, LookingListsWhatLiesUnderTheHero) {
    Lay({L"Меч", kWeapon, 0, 5, 1, 30});
    Lay({L"Еда", kFood});
    Lay({L"Щит", kShield}, 4, 5);
    Key('L');
    EXPECT_EQ(g().screen.txtSpeech, L"Меч[5,1] (30%)\r\nЕда\r\n\r\n\r\n[пробел]");
}

}  // namespace
}  // namespace morvath
