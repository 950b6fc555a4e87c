// The shipped teachers, talked to as a player would: each skill, spell and ware for its
// price, nothing for a coin less, and a skill or spell only once.
#include <gtest/gtest.h>

#include <deque>
#include <tuple>

#include "platform/files.h"
#include "platform/frontend.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

struct Teachers : ::testing::Test {
    fs::path oldFolder = GameFolder();
    ScriptedFrontend ui;

    void SetUp() override { SetGameFolder(MORVATH_GAME_DIR); }
    void TearDown() override { SetGameFolder(oldFolder); }

    void Talk(const wchar_t* script, const std::deque<int>& choices) {
        auto& g = modVarsAndMain;
        g.NPCs->Clear();
        auto npc = g.NPCs->Add();
        npc->AIScript_File = script;
        g.ScriptNPCIndex = 1;
        ui.choiceAnswers = choices;
        npc->ExecTalkAIScript();
    }
};

TEST_F(Teachers, EverySkillSpellAndWareForItsPrice) {
    // A skill or a ware by name, or a spell; a ware's kind (0 for a skill or a spell) and pieces.
    const struct { const wchar_t* script; std::deque<int> choices; long price; const wchar_t* got;
                   bool GameState::*spell; long kind; int pieces; } cases[] = {
        {L"huntsman.tai", {0, 0}, 40, L"Стрелять из лука", nullptr, 0, 0},
        {L"huntsman.tai", {0, 1}, 15, L"Ловить рыбу", nullptr, 0, 0},
        {L"huntsman.tai", {0, 2}, 10, L"Разжигать костер", nullptr, 0, 0},
        {L"hammerman.tai", {0}, 50, L"Кузнечное дело", nullptr, 0, 0},
        {L"healer_monk.tai", {0}, 30, L"Врачевание", nullptr, 0, 0},
        {L"healer_monk.tai", {1}, 25, L"Заговаривать болезнь", nullptr, 0, 0},
        {L"healer_monk.tai", {2}, 60, L"Освятить вещь", nullptr, 0, 0},
        {L"cook.tai", {0}, 15, L"Готовить", nullptr, 0, 0},
        {L"thief.tai", {0}, 40, L"Воровство", nullptr, 0, 0},
        {L"herbalist.tai", {0}, 30, L"Знание трав", nullptr, 0, 0},
        {L"alchemist.tai", {0}, 60, L"Алхимия", nullptr, 0, 0},
        {L"wisewoman.tai", {0}, 20, nullptr, &GameState::CutSpellKnown, 0, 0},
        {L"wisewoman.tai", {1}, 80, nullptr, &GameState::LightningKnown, 0, 0},
        {L"huntsman.tai", {1, 0}, 40, L"Лук", nullptr, kBow, 1},
        {L"huntsman.tai", {1, 1}, 10, L"Стрелы", nullptr, kArrows, 10},
        {L"huntsman.tai", {1, 2, 0}, 10, L"Удочка", nullptr, kWeapon, 1},
        {L"huntsman.tai", {1, 2, 1}, 2, L"Хворост", nullptr, kFuel, 1},
        {L"hammerman.tai", {1, 0}, 8, L"Железная руда", nullptr, kOre, 1},
        {L"hammerman.tai", {1, 1}, 20, L"Слиток железа", nullptr, kOre, 1},
        {L"cook.tai", {1}, 3, L"Сырое мясо.", nullptr, kFood, 1},
        {L"alchemist.tai", {1, 1}, 10, L"Чаша 'Огненной Воды'", nullptr, kDrink, 1},
        {L"alchemist.tai", {1, 2, 1}, 6, L"Чаша Браги Сытости", nullptr, kDrink, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.script) + L" " + std::to_wstring(c.choices.back()));
        auto& g = modVarsAndMain;
        ResetGame();
        g.CreateRoots();
        // Whether it was got, and the money left.
        auto buy = [&](long money) {
            g.Money = money;
            Talk(c.script, c.choices);
            auto item = g.Inventory->Item(1);
            const bool got = c.spell ? g.*c.spell
                             : c.kind == 0 ? g.Skills[0][0].ToText() == c.got
                                           : item && item->ItemName == c.got && item->ItemType == c.kind && item->ItemCount + 1 == c.pieces;
            return std::tuple(got, static_cast<long>(g.Money));
        };
        EXPECT_EQ(buy(c.price - 1), std::tuple(false, c.price - 1));
        EXPECT_EQ(buy(c.price + 5), std::tuple(true, 5L));
        if (c.kind == 0) EXPECT_EQ(buy(c.price + 5), std::tuple(true, c.price + 5));  // only once
    }
}

}  // namespace
