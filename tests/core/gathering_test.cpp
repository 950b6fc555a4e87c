// Gathering in front of the hero: every outcome of berries, ore, felling and searching.
#include <gtest/gtest.h>

#include "game/gathering.h"
#include "game/skills.h"
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
};

TEST_F(Gathering, EveryOutcomeOfEveryTile) {
    const struct { const wchar_t* tile; bool tools, herbLore; int luck; std::vector<double> draws; const wchar_t* got; } cases[] = {
        {L"?", false, false, 0, {}, L"G|Неизвестные ягоды,4,Какие-то красноватые ягоды,unkya.itm,0.07,0,0|Вы сорвали ягоды ||20,0"},
        {L"?", false, true, 0, {5.5 / 7}, L"G|Волчья ягода,9,Полезные ягоды,wolfya.itm,0.07,0,0|Вы сорвали ягоды ||20,0"},
        {L"?", false, true, 0, {6.5 / 7}, L"G|Бузина,9,Полезные ягоды,yagoda.itm,0.07,0,0|Вы сорвали ягоды ||20,0"},
        {L"w", false, false, 0, {0.9}, L"w||||20,0"},
        {L"w", true, false, 0, {0.9}, L"G|Железная руда,11,Камень,,6,0,0|Вы нашли руду...||20,0"},
        {L"w", true, false, 0, {0.7}, L"G||||20,0"},
        {L"B", false, false, 0, {0.1, 0.5}, L"B||||20,0"},
        {L"B", true, false, 0, {0.1, 0.505}, L"п|Бревно,5,Деревянное полено,,70,20,100|Вы срубили дерево...||20,0"},
        {L"B", true, false, 0, {0.6, 0.5}, L"п|||На вас упало дерево!|12,0"},
        {L"B", true, false, 1, {0.6, 0.4}, L"п|||На вас упало дерево!|11,0"},
        {L"B", true, false, 1, {0.6, 0.5}, L"п||||20,0"},
        {L"!", false, false, 0, {1.5 / 9}, L"!|Еда,4,Зерно и Хлеб,food.itm,0.5,0,0||Вы Нашли Еду|20,0"},
        {L"!", false, false, 0, {2.5 / 9}, L"!|Дерево,5,Крепкие дуб и осина,,0.7,0,0||Вы нашли дерево|20,0"},
        {L"!", false, false, 0, {3.5 / 9, 0.99}, L"!|||Вы нашли монеты  - 7 штук|20,7"},
        {L"!", false, false, 0, {8.5 / 9}, L"!|||Здесь ничего нет.|20,0"},
    };
    for (const auto& c : cases) {
        g().Inventory->Clear();
        g().screen = ScreenText{};
        g().SearchedPlaces.clear();
        std::tie(g().Money, g().Player->HP, g().Player->Luck, g().Player->Weight) = std::tuple(0, 20, c.luck, 0);
        g().Equip[kSlotLeftHand][kEqName] = c.tools ? L"Кирка" : L"";
        g().Equip[kSlotRightHand][kEqName] = c.tools ? L"Топор" : L"";
        g().Skills[12][0] = c.herbLore ? L"Знание трав" : L"";  // any row counts
        Put(6, 5, c.tile);
        PinnedDraws draws(c.draws);
        GatherInFront();
        std::wstring got = At(6, 5) + L"|";
        double weight = g().Money * 0.001;
        for (const auto& it : *g().Inventory) {
            got += it->ItemName + L"," + NumText(it->ItemType) + L"," + it->ItemInfo + L"," + it->ItemScript + L"," +
                   NumText(it->Weight) + L"," + NumText(it->WeaponPlus) + L"," + NumText(it->Critical);
            weight += it->Weight;
        }
        got += L"|" + g().screen.lblII + L"|" + Said() + L"|" + NumText(g().Player->HP) + L"," + NumText(g().Money);
        EXPECT_EQ(got, c.got);
        EXPECT_DOUBLE_EQ(g().Player->Weight, weight) << ToUtf8(c.got);
    }
    // Whatever the jar gave, it is empty until the location is loaded again.
    GatherInFront();
    EXPECT_EQ(Said(), L"Тут ничего нет , вы уже искали");
    WriteLocation(L"town", Grass(41, 30), {});
    w().Load_World();
    Put(6, 5, L"!");
    GatherInFront();
    EXPECT_NE(Said(), L"Тут ничего нет , вы уже искали");
}

TEST_F(Gathering, TheCellInFrontFollowsTheFacing) {
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(10, 7);
    std::wstring seen;
    for (auto [facing, col, row] : {std::tuple{1, 13, 9}, {2, 13, 11}, {3, 14, 10}, {4, 12, 10}, {0, 13, 10}, {5, 13, 10}}) {
        w().setPosMap(row, col, L"?");
        g().FacingDir = facing;
        seen += GetFacingTile() + L".";
        GatherInFront();
        seen += w().GetPosMap(col, row) + L" ";
    }
    EXPECT_EQ(seen, L"?.G ?.G ?.G ?.G .? .? ");
}

TEST_F(Gathering, AVisitRemembersAHundredSearchedPlaces) {
    for (int col = 0; col < 101; ++col) SearchPlace(col, 2);
    EXPECT_EQ(g().SearchedPlaces.size(), kMaxSearchedPlaces);
    SearchPlace(99, 2);
    EXPECT_EQ(Said(), L"Тут ничего нет , вы уже искали");
    SearchPlace(100, 2);
    EXPECT_NE(Said(), L"Тут ничего нет , вы уже искали");
}

}  // namespace
}  // namespace morvath
