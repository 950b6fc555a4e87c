// Scripts that would run away: a faulty call in a loop, a text that doubles every round.
// Each ends quickly, reports what it reports once per call, and holds bounded memory.
#include "platform/cp1251.h"
#include "script_test_support.h"

using namespace morvath;

namespace {

// Each script, the input() calls seen before the run ends, the boxes, and the items carried
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

using ScriptLimits = ScriptFixture;

TEST_F(ScriptLimits, RunawayScriptsEndWithTheirReport) {
    for (const LimitCase& c : kLimitCases) {
        modVarsAndMain.Inventory->Clear();
        for (const wchar_t* n : {L"Нож", L"Хлеб", L"Верёвка"}) modVarsAndMain.Inventory->Add()->ItemName = n;
        const std::size_t rounds = RunAndSee(c.script).size();
        EXPECT_EQ(std::tuple(rounds, Boxes(), modVarsAndMain.Inventory->Count()), std::tuple(c.rounds, c.boxes, c.items)) << c.name;
    }
}

}  // namespace
