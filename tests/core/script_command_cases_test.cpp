// The commands' corner cases that scripts lean on, one row each: the state before, the
// script, everything the player is shown (in order) and the state after.
#include <gtest/gtest.h>

#include <functional>

#include "platform/cp1251.h"
#include "script_test_support.h"

using namespace morvath;

namespace {

GameState& G() { return modVarsAndMain; }
MainCharacter& Hero() { return *G().Player; }
std::shared_ptr<Item> Carry(const std::wstring& name) {
    auto item = G().Inventory->Add();
    item->ItemName = name;
    return item;
}

std::wstring In(const std::wstring& prompt) { return L"InputBox|Morvath|" + prompt; }
std::wstring Box(const std::wstring& name) {
    return L"MsgBox|Script VM Error|Argument not optional in call to procedure: " + name;
}

struct CommandCase {
    const char* name;
    std::function<void()> before;
    const wchar_t* script;
    std::vector<std::wstring> shown;
    std::function<void()> after;
};

const CommandCase kCases[] = {
    // --- dispatcher, dialogue and values ---
    {"NameInCapitalsIsFoundAndReportedAsWritten", [] {},
     L"var r\nr ~ SPEAK(\"Куда?\";\"Север\";\"Юг\")\nINPUT(r)",
     {Box(L"SPEAK"), L"Choice|Куда?|Север|Юг|", In(L"0")}, [] {}},
    {"SpeakWithThreeArgumentsReportsThenAsksWithTwoOptions", [] {},
     L"var r\nr ~ speak(\"Куда?\";\"Север\";\"Юг\")\ninput(r)",
     {Box(L"speak"), L"Choice|Куда?|Север|Юг|", In(L"0")}, [] {}},
    {"YesNoIsTheText1Or0",
     [] {},  // the scripted player answers Yes
     L"var a\na ~ yesno(\"?\")\nif a = \"1\"\ninput(\"yes\")\nend",
     {L"MsgBox|Morvath|?", In(L"yes")}, [] {}},
    {"QuestFlagOf0IsTheText0Of3TheNumber3", [] { G().QuestFlags[4] = 3; },
     L"var a;b\na ~ getq(\"5\")\nb ~ getq(\"4\")\ninput(a)\ninput(b)\nif a < \"1\"\ninput(\"a<1\")\nend\n"
     L"if b > \"2\"\ninput(\"b>2\")\nend",
     {In(L"0"), In(L"3"), In(L"a<1"), In(L"b>2")}, [] {}},
    {"AfterSkipACommandResultIsEmpty", [] {},
     L"var x\nx = \"1\"\nskip()\nx ~ lcase(\"A\")\nif x = \"\"\nx = \"empty\"\nend\nsetq(\"1\";x)",
     {}, [] { EXPECT_EQ(G().QuestFlags[1], 0); }},
    {"RndOf1IsAlways0", [] {},
     L"var r\nr ~ rnd(\"1\")\ninput(r)\nr ~ rnd(\"1\")\ninput(r)\nr ~ rnd(\"1\")\ninput(r)",
     {In(L"0"), In(L"0"), In(L"0")}, [] {}},

    // --- coins and items ---
    {"Taking50CoinsFrom20LeavesMinus30", [] { G().Money = 20; },
     L"take(\"money\";\"50\")", {}, [] { EXPECT_EQ(G().Money, -30); }},
    {"TakeByNameTakesFromTheFirstOfTwo",
     [] {
         Carry(L"Нож")->ItemInfo = L"first";
         Carry(L"Нож")->ItemInfo = L"second";
     },
     L"take(\"Нож\")", {},
     [] {
         ASSERT_EQ(G().Inventory->Count(), 1);
         EXPECT_EQ(G().Inventory->Item(1)->ItemInfo, L"second");
     }},
    {"GiveStacksOnAnEqualItemWhateverKindInfoCriticalOrBonusCode",
     [] {
         auto bread = Carry(L"Хлеб");
         bread->ItemType = 4;
         bread->ItemScript = L"food.itm";
         bread->Weight = 1;
         bread->ItemInfo = L"свежий";
     },
     L"give(\"Хлеб\";\"9\";\"0\";\"чёрствый\";\"food.itm\";\"0\";\"0\";\"1\";\"5\";\"stp01\")", {},
     [] {
         ASSERT_EQ(G().Inventory->Count(), 1);
         EXPECT_EQ(G().Inventory->Item(1)->ItemCount, 1);
         EXPECT_EQ(G().Inventory->Item(1)->ItemInfo, L"свежий");
     }},
    {"HaveMeansCoinsOnlyForLowerCaseMoney", [] { G().Money = 100; },
     L"var a;b\na ~ have(\"money\";\"100\")\nb ~ have(\"Money\";\"1\")\ninput(a)\ninput(b)",
     {In(L"true"), In(L"")}, [] {}},
    {"TakeAndGiveAcceptMoneyInAnyCase", [] { G().Money = 10; },
     L"take(\"MONEY\";\"3\")\ngive(\"Money\";\"5\")", {},
     [] {
         EXPECT_EQ(G().Money, 12);
         EXPECT_EQ(G().Inventory->Count(), 0);
     }},

    // --- hero values and skills ---
    {"EatingPastMinus60IsRefusedWithTheOverfedText", [] { Hero().Hungry = 30; },
     L"plusvar(\"hungry\";\"-100\")", {},
     [] {
         EXPECT_EQ(Hero().Hungry, 30);
         EXPECT_EQ(G().screen.txtSpeech, L"Вы обьеты - в вас больше ничего не влезает!\r\n\r\n[пробел]");
     }},
    {"EatingDownToExactlyMinus60IsAllowed", [] { Hero().Hungry = 30; },
     L"plusvar(\"hungry\";\"-90\")", {}, [] { EXPECT_EQ(Hero().Hungry, -60); }},
    {"DoomReadsWithALeadingBlank", [] { Hero().Doom = 2; },
     L"var d\nd ~ getvar(\"doom\")\ninput(d)\nif d = \"2\"\ninput(\"eq\")\nend\nif d > \"1\"\ninput(\"gt\")\nend",
     {In(L" 2"), In(L"gt")}, [] {}},
    {"NegativeDoomReadsWithItsSign", [] { Hero().Doom = -3; },
     L"var d\nd ~ getvar(\"DOOM\")\ninput(d)", {In(L"-3")}, [] {}},
    {"GiveSkillOfAKnownSkillChangesNothing",
     [] {
         for (int i = 0; i <= 4; ++i) G().Skills[static_cast<std::size_t>(i)][0] = L"s" + std::to_wstring(i);
         G().LastSkillIndex = 4;
     },
     L"giveskill(\"s3\")", {},
     [] {
         EXPECT_EQ(G().LastSkillIndex, 4);
         EXPECT_EQ(G().Skills[5][0], Variant());
     }},
    {"GiveSkillOfANewSkillTakesTheFirstFreeRow",
     [] {
         for (int i = 0; i <= 4; ++i) G().Skills[static_cast<std::size_t>(i)][0] = L"s" + std::to_wstring(i);
         G().LastSkillIndex = 4;
     },
     L"giveskill(\"Рыбалка\")", {},
     [] {
         EXPECT_EQ(G().LastSkillIndex, 5);
         EXPECT_EQ(G().Skills[5][0], Variant(L"Рыбалка"));
     }},
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class CommandCaseTest : public ScriptFixture, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandCaseTest, Runs) {
    const auto& c = GetParam();
    c.before();
    ui.log.clear();
    Run(c.script);
    EXPECT_EQ(ui.log, c.shown) << ToUtf8(c.script);
    c.after();
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
