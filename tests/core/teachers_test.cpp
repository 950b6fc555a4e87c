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

TEST(Teachers, EverySkillSpellAndWareForItsPrice) {
    const fs::path oldFolder = GameFolder();
    SetGameFolder(MORVATH_GAME_DIR);
    ScriptedFrontend ui;
    // What was got: the first skill, the spells, the first carried item (name, kind, pieces).
    const struct { const wchar_t* script; std::deque<int> choices; long price; const wchar_t* got; } cases[] = {
        {L"huntsman.tai", {0, 0}, 40, L"Стрелять из лука||"}, {L"huntsman.tai", {0, 1}, 15, L"Ловить рыбу||"},
        {L"huntsman.tai", {0, 2}, 10, L"Разжигать костер||"}, {L"hammerman.tai", {0}, 50, L"Кузнечное дело||"},
        {L"healer_monk.tai", {0}, 30, L"Врачевание||"},       {L"healer_monk.tai", {1}, 25, L"Заговаривать болезнь||"},
        {L"healer_monk.tai", {2}, 60, L"Освятить вещь||"},    {L"cook.tai", {0}, 15, L"Готовить||"},
        {L"thief.tai", {0}, 40, L"Воровство||"},              {L"herbalist.tai", {0}, 30, L"Знание трав||"},
        {L"alchemist.tai", {0}, 60, L"Алхимия||"},            {L"wisewoman.tai", {0}, 20, L"|cut|"},
        {L"wisewoman.tai", {1}, 80, L"|lightning|"},          {L"huntsman.tai", {1, 0}, 40, L"||Лук,20,1"},
        {L"huntsman.tai", {1, 1}, 10, L"||Стрелы,21,10"},     {L"huntsman.tai", {1, 2, 0}, 10, L"||Удочка,1,1"},
        {L"huntsman.tai", {1, 2, 1}, 2, L"||Хворост,5,1"},    {L"hammerman.tai", {1, 0}, 8, L"||Железная руда,11,1"},
        {L"hammerman.tai", {1, 1}, 20, L"||Слиток железа,11,1"}, {L"cook.tai", {1}, 3, L"||Сырое мясо.,4,1"},
        {L"alchemist.tai", {1, 1}, 10, L"||Чаша 'Огненной Воды',6,1"}, {L"alchemist.tai", {1, 2, 1}, 6, L"||Чаша Браги Сытости,6,1"},
    };
    auto& g = modVarsAndMain;
    for (const auto& c : cases) {
        ResetGame();
        g.CreateRoots();
        auto buy = [&](long money) {
            g.Money = money;
            g.NPCs->Clear();
            g.NPCs->Add()->AIScript_File = c.script;
            g.ScriptNPCIndex = 1;
            ui.choiceAnswers = c.choices;
            g.NPCs->Item(1)->ExecTalkAIScript();
            std::wstring got = g.Skills[0][0].ToText() + L"|" + (g.CutSpellKnown ? L"cut" : L"") + (g.LightningKnown ? L"lightning" : L"") + L"|";
            if (auto item = g.Inventory->Item(1)) got += item->ItemName + L"," + NumText(item->ItemType) + L"," + NumText(item->ItemCount + 1);
            return std::tuple(got, static_cast<long>(g.Money));
        };
        const bool ware = std::wstring(c.got).starts_with(L"||");
        EXPECT_EQ(buy(c.price - 1), std::tuple(L"||", c.price - 1)) << c.script;
        EXPECT_EQ(buy(c.price + 5), std::tuple(c.got, 5L));
        if (!ware) { EXPECT_EQ(buy(c.price + 5), std::tuple(c.got, c.price + 5)); }  // only once
    }
    SetGameFolder(oldFolder);
}

}  // namespace
