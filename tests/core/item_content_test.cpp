// The shipped content as a player meets it: every item the templates and the engine describe
// that is used or read does something; every teacher's skill, spell and ware has its price,
// nothing goes for a coin less, and a skill or spell is sold only once.
#include <gtest/gtest.h>

#include <deque>

#include "game/items.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/textforms.h"
#include "world/game_state.h"

namespace morvath {
namespace {

// What using an item left behind: the texts, the hero's values and the pack.
std::wstring Trace() {
    const auto& g = modVarsAndMain;
    const auto& p = *g.Player;
    std::wstring t = g.screen.txtSpeech + L"|" + g.screen.lblII + (g.Darkness ? L"|dark" : L"");
    for (double v : {double(p.Hungry), double(p.HP), double(p.Poison), double(p.Sick), p.Strenght, p.Mana, double(p.Luck), p.Doom}) t += L"|" + NumText(v);
    for (const auto& it : *g.Inventory) t += L"|" + NumText(it->ItemCount);
    return t;
}

// Uses one carried item in the shipped game folder: it must change something.
void TryItem(const Item& item, const std::string& what) {
    ResetGame();
    modVarsAndMain.CreateRoots();
    modVarsAndMain.Skills[3][0] = L"Литература";
    modVarsAndMain.Darkness = item.ItemType != kBook && item.ItemType != kWriting;  // books are read in the light
    auto carried = modVarsAndMain.Inventory->Add();
    *carried = item;
    const std::wstring before = Trace();
    carried->DoAction();
    EXPECT_NE(Trace(), before) << what << " does nothing";
}

struct Shipped : ::testing::Test {
    fs::path previous = GameFolder();
    ScriptedFrontend ui;
    void SetUp() override { SetGameFolder(MORVATH_GAME_DIR); }
    void TearDown() override { SetGameFolder(previous); }
};

TEST_F(Shipped, EveryTemplateItemAndEveryScriptTheEngineNamesDoesWhatItsKindSays) {
    int records = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(MORVATH_GAME_DIR) / "maps")) {
        const auto name = entry.path().filename().string();
        // The dungeons' monster templates (".mon") are checked with the dungeons.
        if (name == "weapons.dat" || name == "data.uni" || entry.path().extension() == ".mon") continue;
        auto reader = TextReader::Open(entry.path());
        std::wstring header;
        ASSERT_TRUE(reader && reader->ReadItem(header));
        while (!reader->AtEnd()) {
            Item it;
            double type = 0, attack = 0, defence = 0, critical = 0;
            ASSERT_TRUE(reader->ReadText(it.ItemName) && reader->ReadNumber(type) && reader->ReadText(it.ItemInfo) &&
                        reader->ReadText(it.ItemScript) && reader->ReadNumber(attack) && reader->ReadNumber(defence) &&
                        reader->ReadNumber(critical) && reader->ReadText(it.SkillPlus) && reader->ReadNumber(it.Weight))
                << name << " record " << records;
            ++records;
            it.ItemType = type;
            // What is worn is worn: only what is used must do something.
            if (!ListedWithBonuses(it.ItemType) && it.ItemType != kNeck) TryItem(it, name + " " + ToUtf8(it.ItemName));
        }
    }
    EXPECT_GT(records, 20);
    for (const wchar_t* file : {L"food.itm", L"yagoda.itm", L"unkya.itm", L"wolfya.itm", L"stdust.itm", L"hudust.itm", L"ledust.itm",
                                L"hpdust.itm", L"mdrink.itm", L"stdrink.itm", L"bluefish.itm", L"fakel.itm"}) {
        Item it;
        std::tie(it.ItemName, it.ItemType, it.ItemScript) = std::tuple(L"x", kFood, file);
        TryItem(it, ToUtf8(file));
    }
}

TEST_F(Shipped, EveryTeachersSkillSpellAndWareForItsPrice) {
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
            g.NPCs->Clear();
            g.NPCs->Add()->AIScript_File = c.script;
            std::tie(g.Money, g.ScriptNPCIndex, ui.choiceAnswers) = std::tuple(money, 1, c.choices);
            g.NPCs->Item(1)->ExecTalkAIScript();
            std::wstring got = g.Skills[0][0].ToText() + L"|" + (g.CutSpellKnown ? L"cut" : L"") + (g.LightningKnown ? L"lightning" : L"") + L"|";
            if (auto item = g.Inventory->Item(1)) got += item->ItemName + L"," + NumText(item->ItemType) + L"," + NumText(item->ItemCount + 1);
            return std::tuple(got, static_cast<long>(g.Money));
        };
        EXPECT_EQ(buy(c.price - 1), std::tuple(L"||", c.price - 1)) << c.script;
        EXPECT_EQ(buy(c.price + 5), std::tuple(c.got, 5L));
        if (!std::wstring(c.got).starts_with(L"||")) { EXPECT_EQ(buy(c.price + 5), std::tuple(c.got, c.price + 5)); }  // only once
    }
}

}  // namespace
}  // namespace morvath
