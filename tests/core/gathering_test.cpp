// Gathering in front of the hero: every outcome of berries, ore, felling and searching.
#include <gtest/gtest.h>

#include <map>

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
        g().FacingDir = 3;  // the cell in front: (6, 5)
    }
    std::wstring Said() {
        const std::wstring& t = g().screen.txtSpeech;
        return t.size() >= 12 ? t.substr(0, t.size() - 12) : t;
    }
    // One try at the tile in front with seed `seed`, from an empty pack; what was gathered.
    std::wstring Try(const wchar_t* tile, std::uint64_t seed) {
        SeedRandom(seed);
        g().Inventory->Clear();
        g().screen = ScreenText{};
        g().SearchedPlaces.clear();
        Put(6, 5, tile);
        GatherInFront();
        EXPECT_LE(g().Inventory->Count(), 1);
        auto it = g().Inventory->Item(1);
        if (!it) return L"";
        EXPECT_DOUBLE_EQ(g().Player->Weight, it->Weight + g().Money * 0.001);
        return it->ItemName + L"|" + NumText(it->ItemType) + L"|" + it->ItemInfo + L"|" + it->ItemScript + L"|" +
               NumText(it->ItemName == L"Бревно" ? 0 : it->Weight);
    }
};

TEST_F(Gathering, TheCellInFrontFollowsTheFacing) {
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(10, 7);
    for (auto [facing, col, row] : {std::tuple{1, 13, 9}, {2, 13, 11}, {3, 14, 10}, {4, 12, 10}, {0, 13, 10}}) {
        w().setPosMap(row, col, L"?");
        g().FacingDir = facing;
        GatherInFront();
        EXPECT_EQ(w().GetPosMap(col, row), facing ? L"G" : L"?") << facing;
    }
    EXPECT_EQ(g().Inventory->Count(), 4);
}

TEST_F(Gathering, BerriesAreKnownOnlyWithHerbLore) {
    EXPECT_EQ(Try(L"?", 1), L"Неизвестные ягоды|4|Какие-то красноватые ягоды|unkya.itm|0.07");
    EXPECT_EQ(std::tuple(At(6, 5), g().screen.lblII), std::tuple(std::wstring(L"G"), std::wstring(L"Вы сорвали ягоды ")));
    g().Skills[12][0] = L"Знание трав";  // any row counts
    std::map<std::wstring, int> seen;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) ++seen[Try(L"?", seed)];
    std::map<std::wstring, int> kinds;
    for (const auto& [got, n] : seen) kinds[got] = 1;
    EXPECT_EQ(kinds, (std::map<std::wstring, int>{{L"Бузина|9|Полезные ягоды|yagoda.itm|0.07", 1},
                                                  {L"Брусника|9|Полезные ягоды|yagoda.itm|0.07", 1},
                                                  {L"Волчья ягода|9|Полезные ягоды|wolfya.itm|0.07", 1},
                                                  {L"Земляника|9|Полезные ягоды|yagoda.itm|0.07", 1},
                                                  {L"Клюква|9|Полезные ягоды|yagoda.itm|0.07", 1},
                                                  {L"Неизвестные ягоды|9|Полезные ягоды|yagoda.itm|0.07", 1},
                                                  {L"Черника|9|Полезные ягоды|yagoda.itm|0.07", 1}}));
}

TEST_F(Gathering, ToolsInEitherHandMineAndFell) {
    EXPECT_EQ(Try(L"w", 1), L"");  // no tool: nothing at all
    EXPECT_EQ(Try(L"B", 1), L"");
    EXPECT_EQ(At(6, 5), L"B");
    g().Equip[kSlotLeftHand][kEqName] = L"Кирка";
    g().Equip[kSlotRightHand][kEqName] = L"Топор";
    std::map<std::wstring, int> seen;
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        std::wstring got = Try(L"w", seed);
        EXPECT_EQ(At(6, 5), L"G");
        ++seen[got.empty() ? L"no ore" : got + L"|" + g().screen.lblII];
        g().Player->HP = 20;
        got = Try(L"B", seed);
        EXPECT_EQ(At(6, 5), L"п");
        const double weight = g().Player->Weight;
        if (!got.empty()) {
            EXPECT_TRUE(weight >= 20 && weight <= 119 && weight == std::floor(weight) && g().Inventory->Item(1)->WeaponPlus == 20 &&
                        g().Inventory->Item(1)->Critical == 100);
        }
        ++seen[got.empty() ? Said() + NumText(g().Player->HP) : got + L"|" + g().screen.lblII];
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_LT(seen[L"Железная руда|11|Камень||6|Вы нашли руду..."], 25);  // one in four
    for (const wchar_t* outcome : {L"no ore", L"Железная руда|11|Камень||6|Вы нашли руду...", L"20",
                                   L"На вас упало дерево!12", L"Бревно|5|Деревянное полено||0|Вы срубили дерево..."}) {
        EXPECT_GT(seen[outcome], 0) << ToUtf8(outcome);
    }
    g().Player->Luck = 4;  // the lucky are never hit
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        g().Player->HP = 20;
        Try(L"B", seed);
        EXPECT_EQ(g().Player->HP, 20);
    }
}

TEST_F(Gathering, AJarGivesFoodWoodCoinsOrNothingOncePerVisit) {
    std::map<std::wstring, int> seen;
    for (std::uint64_t seed = 1; seed <= 80; ++seed) {
        g().Money = 0;
        const std::wstring got = Try(L"!", seed);
        const std::wstring said = Said();
        if (said.starts_with(L"Вы нашли монеты")) {
            EXPECT_TRUE(g().Money >= 1 && g().Money <= 7 && got.empty());
            EXPECT_EQ(said, L"Вы нашли монеты  - " + NumText(g().Money) + L" штук");
            EXPECT_DOUBLE_EQ(g().Player->Weight, g().Money * 0.001);
            ++seen[L"coins"];
        } else {
            ++seen[got + L"|" + said];
        }
        // Whatever it gave, the jar is empty until the location is loaded again.
        GatherInFront();
        EXPECT_EQ(std::tuple(Said(), At(6, 5)), std::tuple(std::wstring(L"Тут ничего нет , вы уже искали"), std::wstring(L"!")));
    }
    EXPECT_EQ(seen.size(), 4u);
    for (const wchar_t* outcome : {L"coins", L"|Здесь ничего нет.", L"Еда|4|Зерно и Хлеб|food.itm|0.5|Вы Нашли Еду",
                                   L"Дерево|5|Крепкие дуб и осина||0.7|Вы нашли дерево"}) {
        EXPECT_GT(seen[outcome], 0) << ToUtf8(outcome);
    }
}

TEST_F(Gathering, LeavingTheLocationFillsTheJarsAndAVisitRemembersAHundred) {
    WriteLocation(L"town", Grass(41, 30), {});
    Try(L"!", 3);
    w().Load_World();
    Put(6, 5, L"!");
    GatherInFront();
    EXPECT_NE(Said(), L"Тут ничего нет , вы уже искали");
    g().SearchedPlaces.clear();
    for (int col = 0; col < 101; ++col) SearchPlace(col, 2);
    EXPECT_EQ(g().SearchedPlaces.size(), kMaxSearchedPlaces);
    SearchPlace(99, 2);
    EXPECT_EQ(Said(), L"Тут ничего нет , вы уже искали");
    SearchPlace(100, 2);
    EXPECT_NE(Said(), L"Тут ничего нет , вы уже искали");
}

}  // namespace
}  // namespace morvath
