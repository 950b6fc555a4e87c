// The shipped content as a player meets it: every item the templates and the engine describe
// that is used or read does what it is for; every teacher's skill, spell and ware has its price,
// nothing goes for a coin less, and a skill or spell is sold only once; the food and death
// scripts do what they are for.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include "game/items.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "world/game_state.h"

namespace morvath {
namespace {

// The hero's values an item may change, by name, and the pieces carried.
std::vector<std::pair<std::wstring, std::wstring>> State() {
    const auto& g = modVarsAndMain;
    const auto& p = *g.Player;
    std::vector<std::pair<std::wstring, std::wstring>> v{{L"said", g.screen.txtSpeech + g.screen.lblII}, {L"dark", g.Darkness ? L"1" : L"0"}};
    const std::pair<const wchar_t*, double> values[] = {{L"hungry", p.Hungry}, {L"hp", p.HP}, {L"poison", p.Poison}, {L"sick", p.Sick}, {L"strength", p.Strenght},
                                                        {L"mana", p.Mana}, {L"luck", p.Luck}, {L"doom", p.Doom}};
    for (const auto& [name, value] : values) v.emplace_back(name, NumText(value));
    long pieces = 0;
    for (const auto& it : *g.Inventory) pieces += it->ItemCount + 1;
    v.emplace_back(L"pieces", NumText(pieces));
    return v;
}

// Uses one carried item in the shipped game folder, on a hungry, wounded, poisoned and sick
// hero in the dark (books are read in the light): what changed, each value as it became
// ("said" for any text).
std::wstring TryItem(const Item& item) {
    ResetGame();
    modVarsAndMain.CreateRoots();
    auto& hero = *modVarsAndMain.Player;
    std::tie(hero.Hungry, hero.HP, hero.MaxHp, hero.Poison, hero.Sick, hero.Strenght) = std::tuple(2000, 5, 30, 8, 3, 1);
    modVarsAndMain.Skills[3][0] = L"Литература";
    modVarsAndMain.Darkness = item.ItemType != kBook && item.ItemType != kWriting;
    *modVarsAndMain.Inventory->Add() = item;
    const auto before = State();
    PinnedDraws draw{0.9};  // unknown berries: the good third
    modVarsAndMain.Inventory->Item(1)->DoAction();
    const auto after = State();
    std::wstring changed;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) changed += after[i].first + (i == 0 ? L"" : L"=" + after[i].second) + L" ";
    }
    return changed;
}

struct Shipped : ::testing::Test {
    fs::path previous = GameFolder();
    ScriptedFrontend ui;
    void SetUp() override { SetGameFolder(MORVATH_GAME_DIR); }
    void TearDown() override { SetGameFolder(previous); }
};

TEST_F(Shipped, EveryTemplateItemAndEveryScriptTheEngineNamesDoesWhatItsKindSays) {
    // By script: what it changes. Food and drink are used up, books and letters are read and kept.
    const std::map<std::wstring, std::wstring> effects = {
        {L"food.itm", L"said hungry=1000 pieces=0 "},            {L"yagoda.itm", L"said hungry=1940 hp=6 pieces=0 "},
        {L"unkya.itm", L"said hungry=1960 pieces=0 "},           {L"wolfya.itm", L"said hp=3 poison=16 pieces=0 "},
        {L"stdust.itm", L"said strength=2 pieces=0 "},           {L"hudust.itm", L"said hungry=1500 pieces=0 "},
        {L"ledust.itm", L"said poison=0 sick=0 pieces=0 "},      {L"hpdust.itm", L"said hp=15 pieces=0 "},
        {L"mdrink.itm", L"said mana=20 pieces=0 "},              {L"stdrink.itm", L"said hungry=2100 strength=3 pieces=0 "},
        {L"ydbraga.itm", L"said poison=18 pieces=0 "},           {L"sbraga.itm", L"said hungry=1200 pieces=0 "},
        {L"ogvoda.itm", L"said hp=2 strength=2 pieces=0 "},      {L"zbraga.itm", L"said hungry=1950 luck=1 pieces=0 "},
        {L"bluefish.itm", L"said "},  {L"fakel.itm", L"said dark=0 "},  {L"psalom.itm", L"said doom=-0.2 "},
        {L"gramota.itm", L"said "},   {L"letopis.itm", L"said "},
    };
    std::set<std::wstring> tried;
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
            if (ListedWithBonuses(it.ItemType) || it.ItemType == kNeck) continue;
            EXPECT_EQ(TryItem(it), effects.contains(it.ItemScript) ? effects.at(it.ItemScript) : L"?") << name << " " << ToUtf8(it.ItemName);
            tried.insert(it.ItemScript);
        }
    }
    for (const auto& [file, effect] : effects) {
        if (tried.contains(file)) continue;
        Item it;
        std::tie(it.ItemName, it.ItemType, it.ItemScript) = std::tuple(L"x", kFood, file);
        EXPECT_EQ(TryItem(it), effect) << ToUtf8(file);
    }
    EXPECT_GT(records, 20);
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

// Lower is fuller; nothing below -60 fits, and the hero is told so. A meal is worth up to a
// thousand; one of the two pieces is eaten.
TEST_F(Shipped, FoodFeedsAHungryHeroAsFarAsHeHasRoom) {
    const std::tuple<int, int, bool> cases[] = {{3000, 2000, false}, {1040, 40, false}, {120, 20, true}, {-50, -50, true}};
    for (const auto& [hungry, after, full] : cases) {
        ResetGame();
        modVarsAndMain.CreateRoots();
        auto food = modVarsAndMain.Inventory->Add();
        std::tie(food->ItemName, food->ItemType, food->ItemScript, food->ItemCount) = std::tuple(L"Еда", kFood, L"food.itm", 1);
        modVarsAndMain.Player->Hungry = hungry;
        modVarsAndMain.PickedIndex = 1;
        food->DoAction();
        const auto& screen = modVarsAndMain.screen;
        EXPECT_EQ(std::tuple(static_cast<int>(modVarsAndMain.Player->Hungry), screen.txtSpeech.find(L"больше ничего не влезает") != std::wstring::npos,
                             screen.lblII, modVarsAndMain.Inventory->Count(), static_cast<int>(modVarsAndMain.Inventory->Item(1)->ItemCount)),
                  std::tuple(after, full, L"Вы поели.", 1, 0)) << hungry;
    }
}

// The creatures of the dark give their life to a warlock who kills them, beyond his full
// health too; to anyone else, nothing.
TEST_F(Shipped, TheCavesBeastsGiveTheirLifeToTheWarlockAlone) {
    for (const wchar_t* script : {L"spider.die", L"tvar.die", L"dog1.die", L"dog2.die"}) {
        for (const auto& [person, hp] : {std::pair{kWarlock, 6}, {kPrince, 4}}) {
            ResetGame();
            modVarsAndMain.CreateRoots();
            std::tie(modVarsAndMain.Player->Profession, modVarsAndMain.Player->HP, modVarsAndMain.Player->MaxHp) = std::tuple(person, 4, 4);
            auto beast = modVarsAndMain.NPCs->Add();
            std::tie(beast->X, beast->Y, beast->DieScript_File) = std::tuple(10.0f, 10.0f, script);
            modVarsAndMain.ScriptNPCIndex = 1;
            beast->Died();
            EXPECT_EQ(static_cast<int>(modVarsAndMain.Player->HP), hp) << ToUtf8(script) << " " << person;
        }
    }
}

}  // namespace
}  // namespace morvath
