// The shipped teachers: each talk script, answered as a player would, teaches its skill or
// spell for its price, refuses a hero without the coins, and sells the wares the skills use.
#include <gtest/gtest.h>

#include <deque>

#include "platform/files.h"
#include "platform/frontend.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

const fs::path kGame = MORVATH_GAME_DIR;

struct Teachers : ::testing::Test {
    fs::path oldFolder = GameFolder();
    ScriptedFrontend ui;

    void SetUp() override {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SetGameFolder(kGame);
    }
    void TearDown() override { SetGameFolder(oldFolder); }

    // Talks to a character with that script, choosing the options in order.
    void Talk(const wchar_t* script, std::deque<int> choices) {
        auto& g = modVarsAndMain;
        g.NPCs->Clear();
        auto npc = g.NPCs->Add();
        npc->NPCName = L"Учитель";
        npc->AIScript_File = script;
        g.ScriptNPCIndex = 1;
        ui.choiceAnswers = std::move(choices);
        npc->ExecTalkAIScript();
    }
    static bool Knows(const std::wstring& skill) {
        for (const auto& row : modVarsAndMain.Skills) {
            if (row[0].ToText() == skill) return true;
        }
        return false;
    }
};

TEST_F(Teachers, EachTeachesForItsPriceAndNotForLess) {
    struct Case {
        const wchar_t* script;
        std::deque<int> choices;
        const wchar_t* skill;          // or nullptr for a spell
        bool GameState::*spell;
        long price;
    };
    const Case cases[] = {
        {L"huntsman.tai", {0, 0}, L"Стрелять из лука", nullptr, 40},
        {L"huntsman.tai", {0, 1}, L"Ловить рыбу", nullptr, 15},
        {L"huntsman.tai", {0, 2}, L"Разжигать костер", nullptr, 10},
        {L"hammerman.tai", {0}, L"Кузнечное дело", nullptr, 50},
        {L"healer_monk.tai", {0}, L"Врачевание", nullptr, 30},
        {L"healer_monk.tai", {1}, L"Заговаривать болезнь", nullptr, 25},
        {L"healer_monk.tai", {2}, L"Освятить вещь", nullptr, 60},
        {L"cook.tai", {0}, L"Готовить", nullptr, 15},
        {L"thief.tai", {0}, L"Воровство", nullptr, 40},
        {L"herbalist.tai", {0}, L"Знание трав", nullptr, 30},
        {L"wisewoman.tai", {0}, nullptr, &GameState::CutSpellKnown, 20},
        {L"wisewoman.tai", {1}, nullptr, &GameState::LightningKnown, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skill ? c.skill : c.script);
        auto learned = [&] { return c.skill ? Knows(c.skill) : modVarsAndMain.*c.spell; };
        ResetGame();
        modVarsAndMain.CreateRoots();
        modVarsAndMain.Money = c.price - 1;
        Talk(c.script, c.choices);
        EXPECT_FALSE(learned());
        EXPECT_EQ(modVarsAndMain.Money, c.price - 1);
        modVarsAndMain.Money = c.price + 5;
        Talk(c.script, c.choices);
        EXPECT_TRUE(learned());
        EXPECT_EQ(modVarsAndMain.Money, 5);
        Talk(c.script, c.choices);  // once only
        EXPECT_EQ(modVarsAndMain.Money, 5);
    }
}

TEST_F(Teachers, TheWaresTheSkillsUse) {
    struct Case {
        const wchar_t* script;
        std::deque<int> choices;
        const wchar_t* item;
        long kind;
        int pieces;
        long price;
    };
    const Case cases[] = {
        {L"huntsman.tai", {1, 0}, L"Лук", kBow, 1, 40},
        {L"huntsman.tai", {1, 1}, L"Стрелы", kArrows, 10, 10},
        {L"huntsman.tai", {1, 2, 0}, L"Удочка", kWeapon, 1, 10},
        {L"huntsman.tai", {1, 2, 1}, L"Хворост", kFuel, 1, 2},
        {L"hammerman.tai", {1, 0}, L"Железная руда", kOre, 1, 8},
        {L"hammerman.tai", {1, 1}, L"Слиток железа", kOre, 1, 20},
        {L"cook.tai", {1}, L"Сырое мясо.", kFood, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ResetGame();
        modVarsAndMain.CreateRoots();
        modVarsAndMain.Money = c.price;
        Talk(c.script, c.choices);
        EXPECT_EQ(modVarsAndMain.Money, 0);
        ASSERT_EQ(modVarsAndMain.Inventory->Count(), 1);
        const auto item = modVarsAndMain.Inventory->Item(1);
        EXPECT_EQ(item->ItemName, c.item);
        EXPECT_EQ(item->ItemType, c.kind);
        EXPECT_EQ(item->ItemCount + 1, c.pieces);
    }
}

}  // namespace
