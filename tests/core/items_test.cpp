// Carried and floor items: the picker's lines, picking up, dropping, using, looking.
#include <gtest/gtest.h>

#include "game/items.h"
#include "screen_fixture.h"

namespace morvath {
namespace {

struct Thing {
    const wchar_t* name;
    long type;
    int count = 0, weapon = 0, defend = 0, critical = 0;
    const wchar_t* skill = L"";
};

class Items : public ScreenTest {
protected:
    std::shared_ptr<Item> Add(ItemCol& col, const Thing& s, int x = 5) {
        auto it = col.Add();
        std::tie(it->ItemName, it->ItemType, it->ItemCount, it->WeaponPlus, it->DefendPlus, it->Critical, it->SkillPlus) =
            std::tuple(s.name, s.type, s.count, s.weapon, s.defend, s.critical, s.skill);
        it->Weight = 0.1;
        std::tie(it->X, it->Y) = std::tuple(x, 5);
        return it;
    }
    std::shared_ptr<Item> Carry(const Thing& s) { return Add(*g().Inventory, s); }
    std::shared_ptr<Item> Lay(const Thing& s, int x = 5) { return Add(*w().mapItemCol, s, x); }
    // The picker's lines, joined.
    std::wstring Rows() const {
        std::wstring r;
        for (const auto& row : ui.lastPicker.rows) r += row.line + L"/";
        return r;
    }
    std::wstring Said() { return g().screen.txtSpeech; }
    // An item's values, in the order of a template record, then its count.
    static std::wstring Fields(const Item& i) {
        std::wstring t = i.ItemName + L"|" + NumText(i.ItemType) + L"|" + i.ItemInfo + L"|" + i.ItemScript;
        for (double v : {double(i.WeaponPlus), double(i.DefendPlus), double(i.Critical)}) t += L"|" + NumText(v);
        return t + L"|" + i.SkillPlus + L"|" + NumText(i.Weight) + L"|" + NumText(i.ItemCount);
    }
};

TEST_F(Items, PickerLinesAndTheRowsTheyLeadTo) {
    for (const Thing& s : {Thing{L"Еда", kFood, 1}, Thing{L"Кинжал", kWeapon, 0, 5, 0, 70}, Thing{L"Щит", kShield, 2, 0, 3, 0, L"St+2"},
                          Thing{L"Сапоги", kLegs}, Thing{L"Рубаха", kBody}, Thing{L"Шлем", kHead, 0, 1, 2, 3},
                          Thing{L"Амулет", kNeck, 0, 1, 2, 3, L"Wi+6"}, Thing{L"", kBody}}) {
        Carry(s);
    }
    g().Money = 100;
    ui.pickAnswers = {9, 1, 5, 6};
    const int picked = ChooseCarriedItem();
    EXPECT_EQ(std::tuple(picked, Rows(), ui.lastPicker.caption, ui.lastPicker.money, ui.lastPicker.rows[1].weight),
              std::tuple(0, L"Еда  (2шт.)/Кинжал[5,0] (70%)  (1шт.)/Щит[0,3] (0%)St+2  (3шт.)/Сапоги[0,0] (0%)  (1шт.)/Рубаха[0,0] (0%)  (1шт.)/"
                            L"Шлем[1,2] (3%)  (1шт.)/Амулет  (1шт.)/[0,0] (0%)  (1шт.)/",
                         L"Инвентарь...", L"Монет:100", L"Вес: 0.1"));
    // Of a kind: placeholders keep rows on inventory positions and pick nothing.
    const int none = ChooseItemOfKind(kBody), shirt = ChooseItemOfKind(kBody);
    EXPECT_EQ(std::tuple(none, shirt, Rows()), std::tuple(0, 5, L".../.../.../.../Рубаха[0,0] (0%)  (1шт.)/.../.../.../"));
    // The inventory leaves nameless items out and still leads each row to its item.
    g().Inventory->Item(1)->ItemName.clear();
    ShowInventory();
    EXPECT_EQ(std::tuple(ui.lastPicker.rows.size(), int(g().PickedIndex)), std::tuple(6u, 7));
}

TEST_F(Items, PickingUpStacksOntoTheLastEqualCarriedItemAndLookingLists) {
    auto first = Carry({L"Стрела", kArrows, 0, 1, 0, 5});
    auto last = Carry({L"Стрела", kArrows, 0, 1, 0, 5});
    Lay({L"Стрела", kArrows, 0, 1, 0, 5});
    Lay({L"Стрела", kFood, 0, 1, 0, 5})->ItemInfo = L"другое";  // kind and text do not count
    Lay({L"Стрела", kWeapon, 0, 1, 0, 6, L"Dx+1"});             // the critical value does
    Lay({L"Щит", kShield}, 6);                                   // another square
    Key('L');
    EXPECT_EQ(Said(), L"Стрела\r\nСтрела\r\nСтрела[1,0] (6%)\r\n\r\n\r\n[пробел]");
    Put(5, 5, L"G");  // a character walked over the heap: the items still lie there
    Key(kVkComma);
    EXPECT_EQ(Said(), L"Вы подняли: Стрела\r\n\r\n[пробел]");
    EXPECT_EQ(std::tuple(first->ItemCount, last->ItemCount, At(5, 5)), std::tuple(0, 1, std::wstring(L"9")));
    Key(kVkSemicolon);
    Key(kVkComma);
    EXPECT_EQ(std::tuple(last->ItemCount, g().Inventory->Count(), At(5, 5)), std::tuple(2, 3L, std::wstring(L"G")));
    EXPECT_EQ(Fields(*g().Inventory->Item(3)), L"Стрела|1|||1|0|6|Dx+1|0.1|0");
    EXPECT_EQ(g().CurItem, g().Inventory->Item(3));  // the item picked up is the one scripts work on
    EXPECT_NEAR(g().Player->Weight, 0.5, 1e-9);
    Put(5, 5, L"9");  // a heap mark over nothing
    Key(kVkComma);
    EXPECT_EQ(std::tuple(Said(), At(5, 5)), std::tuple(std::wstring(L"Здесь ничего не лежит...\r\n\r\n[пробел]"), std::wstring(L"G")));
}

TEST_F(Items, DroppingLeavesOnePieceOnTheFloorAndWritesTheItems) {
    auto arrows = Carry({L"Стрела", kArrows, 2, 1, 3, 5, L"Lu+1"});
    arrows->ItemScript = L"a.itm";
    ui.pickAnswers = {1, 0, 1, 1, 1};
    Key('D');
    ASSERT_EQ(w().mapItemCol->Count(), 1);
    const Item& dropped = *w().mapItemCol->Item(1);
    EXPECT_EQ(Fields(dropped) + L"|" + NumText(dropped.X) + L"," + NumText(dropped.Y) + L"|" + NumText(arrows->ItemCount) + At(5, 5),
              L"Стрела|21||a.itm|1|3|5|Lu+1|0.1|0|5,5|19");
    EXPECT_TRUE(fs::exists(World::SavedFile(L"town", L".itm")));
    EXPECT_NEAR(g().Player->Weight, 0.2, 1e-9);
    for (int i = 0; i < 3; ++i) Key('D');  // nothing picked, then the two pieces left
    EXPECT_EQ(std::tuple(g().Inventory->Count(), w().mapItemCol->Count()), std::tuple(0L, 3L));
    w().WorldName = L"wild";
    Carry({L"Еда", kFood});
    Key('D');
    EXPECT_EQ(std::tuple(g().screen.lblII, g().Inventory->Count()), std::tuple(std::wstring(L"Не на карте..."), 1L));
}

TEST_F(Items, UsingAndEatingRunTheItemsScriptOnThatItem) {
    WriteText(L"scripts/food.itm", L"plusvar(\"hungry\";\"-100\")\r\ntake(\"Хлеб\")\r\nremove()\r\n");
    Carry({L"Хлеб", kFood});
    auto food = Carry({L"Еда", kFood, 1});
    food->ItemScript = L"food.itm";
    ui.pickAnswers = {2, 0, 1};
    const int turn = w().Turn;
    Key('U');
    // The script took the bread first: the piece eaten is still the food's.
    EXPECT_EQ(std::tuple(g().Inventory->Count(), food->ItemCount, static_cast<int>(w().Turn)), std::tuple(1L, 0, turn + 1));
    Key('E');  // nothing eaten: no turn
    EXPECT_EQ(w().Turn, turn + 1);
    Key('E');
    EXPECT_EQ(std::tuple(g().Inventory->Count(), static_cast<int>(g().Player->Hungry), static_cast<int>(w().Turn)),
              std::tuple(0L, 300, turn + 2));
}

}  // namespace
}  // namespace morvath
