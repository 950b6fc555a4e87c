// Gathering in front of the hero: every outcome of berries, ore, felling and searching.
#include <gtest/gtest.h>

#include <set>

#include "game/gathering.h"
#include "screen_fixture.h"
#include "script/find_messages.h"

namespace morvath {
namespace {

class Gathering : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        InitFindMessages();
        g().FacingDir = 3;  // the cell in front: (6, 5), column 9, row 8
    }
    std::wstring Speech() const {
        const std::wstring& t = modVarsAndMain.screen.txtSpeech;
        return t.size() >= 12 ? t.substr(0, t.size() - 12) : t;
    }
    // One try at the tile in front, from a clean pack, with seed `seed`.
    void Try(const wchar_t* tile, std::uint64_t seed) {
        SeedRandom(seed);
        g().Inventory->Clear();
        g().screen = ScreenText{};
        g().SearchedPlaces.clear();
        Put(6, 5, tile);
        GatherInFront();
    }
    std::shared_ptr<Item> Only() {
        EXPECT_LE(g().Inventory->Count(), 1);
        return g().Inventory->Item(1);
    }
};

TEST_F(Gathering, TheCellInFrontFollowsTheFacing) {
    g().PlayerX = 10;
    g().PlayerY = 7;
    struct Case {
        int facing, col, row;
    } cases[] = {{1, 13, 9}, {2, 13, 11}, {3, 14, 10}, {4, 12, 10}};
    for (const auto& c : cases) {
        w().setPosMap(c.row, c.col, L"?");
        g().FacingDir = c.facing;
        GatherInFront();
        EXPECT_EQ(w().GetPosMap(c.col, c.row), L"G") << c.facing;
        EXPECT_EQ(g().CurTile, L"?");
    }
    EXPECT_EQ(g().Inventory->Count(), 4);
    g().FacingDir = 0;
    GatherInFront();
    EXPECT_EQ(g().Inventory->Count(), 4);
}

TEST_F(Gathering, BerriesAreUnknownWithoutHerbLore) {
    std::set<std::wstring> names;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        Try(L"?", seed);
        auto berry = Only();
        ASSERT_TRUE(berry);
        EXPECT_EQ(At(6, 5), L"G");
        EXPECT_EQ(g().screen.lblII, L"Вы сорвали ягоды ");
        EXPECT_DOUBLE_EQ(g().Player->Weight, 0.07);
        if (seed == 1) {
            EXPECT_EQ(std::tuple(berry->ItemName, static_cast<long>(berry->ItemType), berry->ItemScript, berry->ItemInfo),
                      std::tuple(std::wstring(L"Неизвестные ягоды"), 4L, std::wstring(L"unkya.itm"),
                                 std::wstring(L"Какие-то красноватые ягоды")));
            g().Skills[12][0] = L"Знание трав";  // any row of the table counts
            continue;
        }
        names.insert(berry->ItemName);
        EXPECT_EQ(berry->ItemType, kBerry);
        EXPECT_EQ(berry->ItemInfo, L"Полезные ягоды");
        EXPECT_EQ(berry->ItemScript, berry->ItemName == L"Волчья ягода" ? L"wolfya.itm" : L"yagoda.itm");
    }
    EXPECT_EQ(names, (std::set<std::wstring>{L"Черника", L"Неизвестные ягоды", L"Земляника", L"Клюква", L"Брусника",
                                             L"Волчья ягода", L"Бузина"}));
}

TEST_F(Gathering, ToolsMineAndFellFromEitherHand) {
    Try(L"w", 1);
    Try(L"B", 1);
    EXPECT_EQ(At(6, 5), L"B");  // no tool: nothing at all
    EXPECT_EQ(g().Inventory->Count(), 0);
    g().Equip[kSlotLeftHand][kEqName] = L"Кирка";
    g().Equip[kSlotRightHand][kEqName] = L"Топор";
    int ore = 0, wood = 0, hurt = 0, nothing = 0;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        Try(L"w", seed);
        EXPECT_EQ(At(6, 5), L"G");
        if (auto it = Only()) {
            ++ore;
            EXPECT_EQ(std::tuple(it->ItemName, static_cast<long>(it->ItemType), it->Weight),
                      std::tuple(std::wstring(L"Железная руда"), 11L, 6.0));
            EXPECT_EQ(g().screen.lblII, L"Вы нашли руду...");
        }
        g().Player->HP = 20;
        g().Player->Luck = 0;
        Try(L"B", seed);
        EXPECT_EQ(At(6, 5), L"п");
        if (auto it = Only()) {
            ++wood;
            EXPECT_EQ(it->ItemName, L"Бревно");
            EXPECT_EQ(it->ItemType, kFuel);
            EXPECT_EQ(std::tuple(static_cast<int>(it->WeaponPlus), static_cast<int>(it->Critical)), std::tuple(20, 100));
            EXPECT_TRUE(it->Weight >= 20 && it->Weight <= 119 && it->Weight == std::floor(it->Weight));
            EXPECT_DOUBLE_EQ(g().Player->Weight, it->Weight);
            EXPECT_EQ(g().screen.lblII, L"Вы срубили дерево...");
        } else if (g().Player->HP == 12) {
            ++hurt;
            EXPECT_EQ(Speech(), L"На вас упало дерево!");
        } else {
            ++nothing;
            EXPECT_EQ(g().Player->HP, 20);
        }
    }
    EXPECT_GT(ore, 0);
    EXPECT_LT(ore, 60);
    EXPECT_GT(wood, 0);
    EXPECT_GT(hurt, 0);
    EXPECT_GT(nothing, 0);
    // The lucky are never hit.
    g().Player->Luck = 4;
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        g().Player->HP = 20;
        Try(L"B", seed);
        EXPECT_EQ(g().Player->HP, 20);
    }
}

TEST_F(Gathering, AJarGivesFoodWoodCoinsOrNothingOncePerVisit) {
    std::set<std::wstring> seen;
    for (std::uint64_t seed = 1; seed <= 80; ++seed) {
        g().Money = 0;
        Try(L"!", seed);
        auto it = Only();
        const std::wstring said = Speech();
        if (said == L"Вы Нашли Еду") {
            ASSERT_TRUE(it);
            EXPECT_EQ(std::tuple(it->ItemName, static_cast<long>(it->ItemType), it->ItemScript, it->ItemInfo),
                      std::tuple(std::wstring(L"Еда"), 4L, std::wstring(L"food.itm"), std::wstring(L"Зерно и Хлеб")));
            EXPECT_DOUBLE_EQ(g().Player->Weight, 0.5);
            seen.insert(L"food");
        } else if (said == L"Вы нашли дерево") {
            ASSERT_TRUE(it);
            EXPECT_EQ(std::tuple(it->ItemName, static_cast<long>(it->ItemType), it->ItemInfo, it->Weight),
                      std::tuple(std::wstring(L"Дерево"), 5L, std::wstring(L"Крепкие дуб и осина"), 0.7));
            seen.insert(L"wood");
        } else if (said.starts_with(L"Вы нашли монеты  - ")) {
            EXPECT_FALSE(it);
            EXPECT_TRUE(g().Money >= 1 && g().Money <= 7);
            EXPECT_EQ(said, L"Вы нашли монеты  - " + NumText(g().Money) + L" штук");
            EXPECT_DOUBLE_EQ(g().Player->Weight, g().Money * 0.001);
            seen.insert(L"coins");
        } else {
            EXPECT_EQ(said, L"Здесь ничего нет.");
            EXPECT_FALSE(it);
            seen.insert(L"nothing");
        }
        EXPECT_EQ(At(6, 5), L"!");
        // Whatever it gave, the jar is empty until the location is loaded again.
        g().Inventory->Clear();
        GatherInFront();
        EXPECT_EQ(Speech(), L"Тут ничего нет , вы уже искали");
        EXPECT_EQ(g().Inventory->Count(), 0);
    }
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(Gathering, LeavingTheLocationFillsTheJarsAgain) {
    WriteLocation(L"town", Grass(41, 30), {});
    Try(L"!", 3);
    GatherInFront();
    EXPECT_EQ(Speech(), L"Тут ничего нет , вы уже искали");
    w().Load_World();
    Put(6, 5, L"!");
    GatherInFront();
    EXPECT_NE(Speech(), L"Тут ничего нет , вы уже искали");
}

TEST_F(Gathering, AVisitRemembersAHundredJars) {
    for (int col = 0; col < 101; ++col) SearchPlace(col, 2);
    EXPECT_EQ(g().SearchedPlaces.size(), kMaxSearchedPlaces);
    SearchPlace(99, 2);
    EXPECT_EQ(Speech(), L"Тут ничего нет , вы уже искали");
    SearchPlace(100, 2);
    EXPECT_NE(Speech(), L"Тут ничего нет , вы уже искали");
}

}  // namespace
}  // namespace morvath
