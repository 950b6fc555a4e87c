// Every script command that turns an argument into a number, against the three ways it may
// do so: the number at the start of the text ("12abc" is 12, "abc" and "" are 0, "1e1" is
// 1), the strict number of the whole text ("12abc" fails, "1e1" is 10), and the strict
// whole number (as strict, then rounded, halves to even).
#include <array>

#include "script/script_text.h"
#include "script_test_support.h"

using namespace morvath;

namespace {

struct Conversions : ScriptFixture {
    // Every value a command may change starts at 9 (coins at 100), so a failed conversion
    // shows as the value left alone.
    void Fresh() {
        ResetGame();
        auto& g = modVarsAndMain;
        g.CreateRoots();
        std::tie(g.Money, g.QuestFlags[5]) = std::tuple(100, 77);
        for (int i : {1, 2, 3, 10, 12}) g.QuestFlags[static_cast<std::size_t>(i)] = i * 11;
        auto& h = *g.Player;
        h.Doom = h.Strenght = h.Mana = 9;
        h.Hungry = h.Poison = h.Sick = h.HP = h.Luck = 9;
        g.ScriptLocal = 9.0;
        // A carried sword the give command may stack onto.
        auto sword = g.Inventory->Add();
        std::tie(sword->ItemName, sword->itembalance, sword->WeaponPlus, sword->DefendPlus, sword->Weight) = std::tuple(L"Меч", 10, 1, 1, 1);
        ui.log.clear();
    }
};

MainCharacter& Player() { return *modVarsAndMain.Player; }
Item& LastItem() { return *modVarsAndMain.Inventory->Item(modVarsAndMain.Inventory->Count()); }

}  // namespace

TEST_F(Conversions, EveryConvertingCommandReadsItsArgumentByItsOwnRule) {
    const std::array<std::wstring, 6> inputs = {L"12abc", L"abc", L"", L"1e1", L"2.5", L" 3 "};
    // {} in the script stands for the argument under test.
    struct Case { const wchar_t* script; std::function<double(Conversions&)> probe; std::array<double, 6> want; };
    auto hero = [](double MainCharacter::*f) { return [f](Conversions&) { return Player().*f; }; };
    auto heroInt = [](Integer MainCharacter::*f) { return [f](Conversions&) { return double(Player().*f); }; };
    auto item = [](auto Item::*f) { return [f](Conversions&) { return double(LastItem().*f); }; };
    auto money = [](Conversions&) { return double(modVarsAndMain.Money); };
    auto prompt = [](Conversions& t) { return t.Seen().empty() ? -1 : ScriptNumber(t.Seen().back()); };
    auto stack = [](Conversions&) { return double(modVarsAndMain.Inventory->Item(1)->ItemCount); };
    const std::vector<Case> cases = {
        // number() (the other keys of setvar and plusvar read their amount alike)
        {L"var x\nx ~ star(\"{}\";\"2\")\ninput(x)", prompt, {24, 0, 0, 2, 5, 6}},
        {L"setvar(\"doom\";\"{}\")", hero(&MainCharacter::Doom), {12, 0, 0, 1, 2.5, 3}},
        {L"setvar(\"hungry\";\"{}\")", heroInt(&MainCharacter::Hungry), {12, 0, 0, 1, 2, 3}},
        {L"setvar(\"local\";\"{}\")", [](Conversions&) { return modVarsAndMain.ScriptLocal.ToNumber(); }, {12, 0, 0, 1, 2.5, 3}},
        {L"plusvar(\"doom\";\"{}\")", hero(&MainCharacter::Doom), {21, 9, 9, 10, 11.5, 12}},
        {L"plusvar(\"hungry\";\"{}\")", heroInt(&MainCharacter::Hungry), {21, 9, 9, 10, 12, 12}},
        {L"give(\"Меч\";\"0\";\"0\";\"\";\"\";\"0\";\"0\";\"{}\";\"0\";\"\")", item(&Item::Weight), {12, 0, 0, 1, 2.5, 3}},
        {L"give(\"Меч\";\"0\";\"0\";\"\";\"\";\"0\";\"0\";\"0\";\"{}\";\"\")", item(&Item::Critical), {12, 0, 0, 1, 2, 3}},
        // number() when stacking: only a sword of weight, weapon and defence bonus 1 matches
        {L"give(\"Меч\";\"0\";\"10\";\"\";\"\";\"1\";\"1\";\"{}\";\"0\";\"\")", stack, {0, 0, 0, 1, 0, 0}},
        {L"give(\"Меч\";\"0\";\"10\";\"\";\"\";\"{}\";\"1\";\"1\";\"0\";\"\")", stack, {0, 0, 0, 1, 0, 0}},
        {L"give(\"Меч\";\"0\";\"10\";\"\";\"\";\"1\";\"{}\";\"1\";\"0\";\"\")", stack, {0, 0, 0, 1, 0, 0}},
        // strict number: a balance of 10 matches, and only 1e1 spells it
        {L"give(\"Меч\";\"0\";\"{}\";\"\";\"\";\"1\";\"1\";\"1\";\"0\";\"\")", stack, {0, 0, 0, 1, 0, 0}},
        {L"take(\"money\";\"{}\")", money, {100, 100, 100, 90, 98, 97}},
        {L"give(\"MONEY\";\"{}\")", money, {100, 100, 100, 110, 102, 103}},
        {L"plusvar(\"mana\";\"{}\")", hero(&MainCharacter::Mana), {9, 9, 9, 19, 11.5, 12}},
        {L"plusvar(\"luck\";\"{}\")", heroInt(&MainCharacter::Luck), {9, 9, 9, 19, 12, 12}},
        {L"var x\nx ~ rnd(\"{}\")\ninput(x & \"|\")", [](Conversions& t) { return t.Seen().back() == L"|" ? 0.0 : 1.0; }, {0, 0, 0, 1, 1, 1}},
        // strict whole numbers (16 and 32 bits)
        {L"var x\nx ~ getq(\"{}\")\ninput(x)", prompt, {0, 0, 0, 110, 22, 33}},
        {L"setq(\"5\";\"{}\")", [](Conversions&) { return double(modVarsAndMain.QuestFlags[5]); }, {77, 77, 77, 10, 2, 3}},
        {L"var x\nx ~ have(\"money\";\"{}\")\ninput(x & \"|\")", [](Conversions& t) { return t.Seen().back() == L"true|" ? 1.0 : 0.0; }, {0, 0, 0, 1, 1, 1}},
        {L"give(\"Меч\";\"{}\";\"0\";\"\";\"\";\"0\";\"0\";\"0\";\"0\";\"\")", item(&Item::ItemType), {0, 0, 0, 10, 2, 3}},
        {L"give(\"Меч\";\"0\";\"{}\";\"\";\"\";\"0\";\"0\";\"0\";\"0\";\"\")", item(&Item::itembalance), {0, 0, 0, 10, 2, 3}},
        {L"give(\"Меч\";\"0\";\"0\";\"\";\"\";\"{}\";\"0\";\"0\";\"0\";\"\")", item(&Item::WeaponPlus), {0, 0, 0, 10, 2, 3}},
        {L"give(\"Меч\";\"0\";\"0\";\"\";\"\";\"0\";\"{}\";\"0\";\"0\";\"\")", item(&Item::DefendPlus), {0, 0, 0, 10, 2, 3}},
    };
    for (const auto& c : cases) {
        for (std::size_t k = 0; k < inputs.size(); ++k) {
            Fresh();
            std::wstring script = c.script;
            script.replace(script.find(L"{}"), 2, inputs[k]);
            Run(script);
            EXPECT_EQ(std::pair(c.probe(*this), Boxes()), std::pair(c.want[k], 0)) << ToUtf8(script);
        }
    }
}
