// The script language as the game's scripts are written against it: text in, what the
// script shows out. Each case's script reports through input(), whose prompts are logged.
// Then the runs themselves: skip(), the line budget, and scripts that would run away.
#include "script_test_support.h"

using namespace morvath;

namespace {

struct LanguageCase { const char* name; const wchar_t* script; std::vector<std::wstring> seen; };

const LanguageCase kCases[] = {
    // --- values and expressions ---
    {"BareWordIsAVariableLiteralIsText", L"var x\nx = 5\ninput(x)\nx = \"5\"\ninput(x)", {L"", L"5"}},
    {"WordRightBeforeOperatorReadsEmpty", L"var a;b;c\na = \"2\"\nb = \"3\"\nc = a+b\ninput(c)\nc = a + b\ninput(c)", {L"3", L"5"}},
    {"NoPrecedenceLeftToRightButParenthesesFirst", L"var x\nx = \"2\" + \"3\" * \"4\"\ninput(x)\nx = \"2\" + (\"3\" * \"4\")\ninput(x)\n"
     L"x = ((\"1\" + \"2\") * (\"3\" + \"1\")) - \"2\"\ninput(x)\ninput(- \"5\")", {L"20", L"14", L"10", L"-5"}},
    {"FractionsUseAPoint", L"var x\nx = \"5\" / \"2\"\ninput(x)\nif x = \"2.5\"\ninput(\"yes\")\nend", {L"2.5", L"yes"}},
    {"IntegerDivisionRoundsHalvesToEvenFirst",
     L"var a;b;c;d\na = \"7\" \\ \"2\"\nb = \"-7\" \\ \"2\"\nc = \"2.5\" \\ \"1\"\nd = \"3.5\" \\ \"1\"\ninput(a)\ninput(b)\ninput(c)\ninput(d)",
     {L"3", L"-3", L"2", L"4"}},
    {"PowerConcatenationAndTextsAddingByTheirLeadingNumber",
     L"input(\"2\" ^ \"10\" & \"a\")\ninput(\"a\" & \"1\" + \"1\")\ninput(\" 12abc\" + \"-2.5x\")", {L"1024a", L"1", L"9.5"}},
    {"TextsReadAsNumbersSkipBlanksAndStopAtAnyOtherCharacter",
     L"var x\nx = \" 1 2\" + \"- 5\"\ninput(x)\nx = \"2e1\" + \"0\"\ninput(x)\nx = \"1.5.5\" * \"2\"\ninput(x)\n"
     L"if \"1 0\" > \"9\"\ninput(\"gt\")\nend", {L"7", L"2", L"3", L"gt"}},
    {"TrailingBlankLosesTheLastWord", L"var a;b;c\na = \"1\"\nb = a \nc = a # note\ninput(b)\ninput(c)\nb = \"1\" \ninput(b)", {L"", L"", L"1"}},
    {"CommandsAreNotCalledInsideExpressions", L"var x\nx = lcase(\"ABC\")\ninput(x)\nx ~ lcase(\"ABC\")\ninput(x)", {L"ABC", L"abc"}},
    {"UndeclaredNamesAndSecondDeclarationsTakeNoAssignment", L"var x\ny = \"1\"\ninput(y)\nvar x\nx = \"1\"\ninput(x)", {L"", L""}},
    {"UnknownCommandIsSilent", L"var x\nx = \"1\"\nx ~ nosuch(\"2\")\ninput(x)\nnosuch()\ninput(\"on\")", {L"", L"on"}},
    {"ArgumentsAreTrimmedAndEvaluated", L"var a\na = \"x\"\ninput( a & \"y\" ;\"ignored\")\ninput()", {L"xy", L""}},

    // --- conditions ---
    {"EqualsIsExactText",
     L"var x\nx = \"Abc\"\nif x = \"Abc\"\ninput(\"1\")\nend\nif x = \"abc\"\ninput(\"2\")\nend\nif x == \"abc\"\ninput(\"3\")\nend", {L"1", L"3"}},
    {"RelationsCompareNumbers",
     L"if \"10\" > \"9\"\ninput(\"gt\")\nend\nif \"10\" >= \"10\"\ninput(\"ge\")\nend\nif \"3abc\" <> \"3\"\ninput(\"ne\")\nend\n"
     L"if \"\" < \"1\"\ninput(\"lt\")\nend\nif \"2\" <= \"1\"\ninput(\"le\")\nend", {L"gt", L"ge", L"lt"}},
    {"UnknownOrNoOperatorIsFalse",
     L"if \"1\" =< \"2\"\ninput(\"a\")\nend\nif \"1\" => \"0\"\ninput(\"b\")\nend\nif abc\ninput(\"c\")\nend\nif \"abc\"\ninput(\"d\")\nend", {}},
    {"ParenthesisedOrQuotedLeftSide", L"if (\"1\" + \"1\") = \"2\"\ninput(\"a\")\nend\nif \"a=b\" == \"A=B\"\ninput(\"b\")\nend\n"
     L"if ((\"1\" + \"2\") * \"3\") = \"9\"\ninput(\"c\")\nend", {L"a", L"b", L"c"}},

    // --- blocks ---
    {"IfElseEnd", L"if \"1\" = \"2\"\ninput(\"a\")\nelse\ninput(\"b\")\nend\nif \"1\" = \"1\"\ninput(\"c\")\nelse\ninput(\"d\")\nend", {L"b", L"c"}},
    {"IfBlocksDoNotNest", L"if \"1\" = \"2\"\nif \"1\" = \"1\"\ninput(\"a\")\nend\ninput(\"b\")\nend", {L"b"}},
    {"SkippedElseEndsAtFirstEnd", L"if \"1\" = \"1\"\ninput(\"a\")\nelse\nif \"1\" = \"1\"\ninput(\"b\")\nend\ninput(\"c\")\nend", {L"a", L"c"}},
    {"EndOfIfInsideWhileRetestsTheLoop", L"var i\ni = \"0\"\nwhile i < \"5\"\ni = i + \"1\"\nif i = \"2\"\ninput(i)\nend\ninput(\"tail\")\nend",
     {L"tail", L"2", L"tail", L"tail", L"tail"}},
    {"KeywordsInAnyCase",
     L"var i\nI = \"x\"\ni = \"0\"\nWHILE i < \"2\"\ni = i + \"1\"\nIf i = \"1\"\nINPUT(\"one\")\nElse\ninput(\"two\")\nEND\nEnd", {L"one", L"two"}},

    // --- goto and labels ---
    {"GotoToAnEarlierLabelSilencesTheRest", L"top\ninput(\"a\")\ngoto top\ninput(\"b\")", {L"a"}},
    {"GotoLabelIsTrimmedButMatchedExactly", L"goto  Skip \ninput(\"x\")\nskip\ninput(\"y\")\nSkip\ninput(\"z\")", {L"z"}},
    {"GotoOutOfWhileLeavesTheLoopOnTheStack",
     L"var i\ni = \"0\"\nwhile i < \"2\"\ni = i + \"1\"\ninput(i)\ngoto out\nend\nout\ninput(\"out\")\nend\ninput(\"done\")",
     {L"1", L"out", L"2", L"out", L"done"}},

    // --- comments and empty lines ---
    {"CommentsAndEmptyLinesArePassedInEveryState",
     L"# start\n\nif \"1\" = \"2\"\n# inside\n\ninput(\"a\")\nend\ngoto l\n#\nl\ninput(\"b\") # trailing", {L"b"}},
    // The cut leaves an unclosed call behind, which ends the run.
    {"HashInsideALiteralStillStartsAComment", L"input(\"c\")\ninput(\"a#b\")\ninput(\"d\")", {L"c"}},

    // --- errors of the evaluator end the run ---
    {"ZeroDivisorEndsTheRunButOneIsNoZero", L"input(\"6\" / \"1\")\ninput(\"1\" / \"0\")\ninput(\"b\")", {L"6"}},
    {"IntegerZeroDivisorEndsTheRun", L"var x\ninput(\"a\")\nx = \"1\" \\ \"0.4\"\ninput(\"b\")", {L"a"}},
    {"OverflowEndsTheRun", L"var x\ninput(\"a\")\nx = \"10\" ^ \"400\"\ninput(\"b\")", {L"a"}},
    {"IntegerDivisionBeyond32BitsEndsTheRun", L"var x\ninput(\"a\")\nx = \"3000000000\" \\ \"1\"\ninput(\"b\")", {L"a"}},
    {"NotANumberEndsTheRun", L"var x\ninput(\"a\")\nx = \"-8\" ^ \"0.5\"\ninput(\"b\")", {L"a"}},
    {"UnclosedLiteralEndsTheRun", L"input(\"a\")\ninput(\"open)\ninput(\"b\")", {L"a"}},
    {"UnclosedParenthesisEndsTheRun", L"var x\ninput(\"a\")\nx = (\"1\"\ninput(\"b\")", {L"a"}},
    {"CallWithoutParenthesesEndsTheRun", L"var x\ninput(\"a\")\nx ~ lcase\ninput(\"b\")", {L"a"}},
    {"ParenthesisInsideAnArgumentEndsTheRun", L"input(\"a\")\ninput((\"b\")\ninput(\"c\")", {L"a"}},
    {"UnclosedLiteralInAConditionEndsTheRun", L"input(\"a\")\nif \"b = \"1\"\ninput(\"b\")", {L"a"}},

    // --- the line budget ---
    {"TheDefaultBudgetLetsLongHonestLoopsFinish", L"var i\ni = \"0\"\nwhile i < \"100000\"\ni = i + \"1\"\nend\ninput(i)", {L"100000"}},
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

class LanguageTest : public ScriptFixture, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageTest, Runs) {
    const auto& c = GetParam();
    EXPECT_EQ(RunAndSee(c.script), c.seen) << ToUtf8(c.script);
}

INSTANTIATE_TEST_SUITE_P(Script, LanguageTest, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------

using ScriptRun = ScriptFixture;

// After skip() a command result is empty, and no command asks or reports, not even a missing
// argument; if the assignment kept "1" the loop would spin until the line budget ends it.
TEST_F(ScriptRun, SkipSilencesCommandsButNotAssignmentsOrConditions) {
    modVarsAndMain.scriptRun.lineBudget = 1000;
    Cscript s;
    s.Script = ScriptLines(L"var x\nx = \"1\"\ninput(\"before\")\nskip()\nx ~ lcase(\"A\")\ninput(\"after\")\n"
                           L"setq(\"1\";\"5\")\nspeak(\"q\";\"a\";\"b\")\nwhile x = \"1\"\nend");
    int lines = 0;
    s.LineChange = [&](int, std::wstring_view) { ++lines; };
    s.ScriptExecute();
    EXPECT_EQ(std::tuple(s.Stopped, ui.log, int(modVarsAndMain.QuestFlags[1]), lines < 20),
              std::tuple(true, Seen_{L"InputBox|Morvath|before"}, 0, true));
}

// An endless loop, or a goto out of the loop that jumps back into it, ends the run; the
// next run has its own budget, and the default one lets long honest loops finish.
TEST_F(ScriptRun, AnEndlessLoopEndsTheRunNotTheGame) {
    modVarsAndMain.scriptRun.lineBudget = 50000;
    EXPECT_EQ(RunAndSee(L"input(\"a\")\nwhile \"1\" = \"1\"\nend\ninput(\"b\")"), (Seen_{L"a"}));
    EXPECT_EQ(RunAndSee(L"while \"1\" = \"1\"\ngoto out\nend\nout\nend\ninput(\"b\")\ninput(\"c\")"), (Seen_{}));
    EXPECT_EQ(std::tuple(RunAndSee(L"input(\"c\")"), modVarsAndMain.scriptRun.depth), std::tuple(Seen_{L"c"}, 0));
}

// LF alone ends a line too.
TEST_F(ScriptRun, LinesBeyondThe16BitCounterAreNeverReached) {
    Cscript s;
    s.Script = L"var x\nx = \"0\"\r\n";
    for (int i = 2; i < 32767; ++i) s.Script += L"x = x + \"1\"\n";
    s.Script += L"input(x)\r\ninput(\"late\")";
    s.ScriptExecute();
    EXPECT_EQ(Seen(), (Seen_{L"32765"}));
}

TEST_F(ScriptRun, PlayerTextThatRebuildsItsOwnGroupEndsTheRun) {
    // Each round would put the group back in place: the text would grow for ever.
    ui.inputAnswers = {L"\" (t) \"", L"a(\"b\")"};
    EXPECT_EQ(RunAndSee(L"var t;x\nt ~ input(\"?\")\nx = (t)\ninput(\"after\")"), (Seen_{L"?"}));
    // Quotes and parentheses in a value are plain text where no group is evaluated.
    EXPECT_EQ(RunAndSee(L"var t;x\nt ~ input(\"?\")\nx = t & \"!\"\nsay2(x)"), (Seen_{L"?"}));
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"a(\"b\")!\r\n\r\n[пробел]");
}

// Scripts that would run away: a faulty call in a loop, a text that doubles every round.
// Each ends quickly, reports what it reports once per call, and holds bounded memory. Each
// script, the input() calls seen before the run ends, the boxes, and the items carried
// afterwards (three before).
struct LimitCase { const char* name; const wchar_t* script; std::size_t rounds; int boxes; long items = 3; };

const LimitCase kLimitCases[] = {
    // One report per call, however many arguments are missing and items carried; each call
    // gives its item, with the fields it has.
    {"GiveWithMissingArgumentsInALoop", L"var i\ni = \"0\"\nwhile i < \"3000\"\ngive(\"Палка\";\"1\")\ni = i + \"1\"\nend\ninput(\"done\")", 1, 3000, 3003},
    {"GiveWithOnlyTheLastArgumentMissing", L"give(\"Палка\";\"1\";\"0\";\"\";\"\";\"0\";\"0\";\"1\";\"0\")\ninput(\"done\")", 1, 1, 4},
    // A text of 2^20 characters is the longest a value holds: the 21st doubling fails and
    // ends the run, as an overflow does, without a box.
    {"AJoinThatDoublesATextEveryRound", L"var a\na = \"x\"\nwhile \"1\" = \"1\"\na = a & a\ninput(\"r\")\nend", 20, 0},
    {"ACommandThatDoublesATextEveryRound", L"var a\na = \"x\"\nwhile \"1\" = \"1\"\na ~ strcpy(a;a)\ninput(\"r\")\nend", 20, 0},
    // Copies of a long text fill the run's variables up to four such texts.
    {"CopiesOfALongTextIntoManyVariables",
     L"var a;b;c;d;e;i\na = \"x\"\ni = \"0\"\nwhile i < \"19\"\na = a & a\ni = i + \"1\"\nend\nb = a & a\ninput(\"b\")\n"
     L"c = b\ninput(\"c\")\nd = b\ninput(\"d\")\ne = b\ninput(\"e\")", 3, 0},
    // Appending a little each round copies the whole text each round: the run ends when it
    // has read and made 16 Mi characters of text, long before its lines run out.
    {"AnAppendLoopEndsLongBeforeItsLines", L"var i\ni = \"\"\nwhile \"1\" = \"1\"\ni = i & \"123456789\"\ninput(\"r\")\nend", 1364, 0},
    {"AJoinInsideParenthesesToo", L"var a\na = \"x\"\nwhile \"1\" = \"1\"\na = (a & a) & \"\"\ninput(\"r\")\nend", 20, 0},
};

TEST_F(ScriptRun, RunawayScriptsEndWithTheirReport) {
    for (const LimitCase& c : kLimitCases) {
        modVarsAndMain.Inventory->Clear();
        for (const wchar_t* n : {L"Нож", L"Хлеб", L"Верёвка"}) modVarsAndMain.Inventory->Add()->ItemName = n;
        const std::size_t rounds = RunAndSee(c.script).size();
        EXPECT_EQ(std::tuple(rounds, Boxes(), modVarsAndMain.Inventory->Count()), std::tuple(c.rounds, c.boxes, c.items)) << c.name;
    }
}

}  // namespace
