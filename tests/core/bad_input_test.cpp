// The player's own files holding what no one meant: numbers beyond every range, window
// sizes no screen has.
#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <tuple>
#include <utility>

#include "game/new_game.h"
#include "platform/cp1251.h"
#include "platform/numbers.h"
#include "script/script_text.h"
#include "test_support.h"
#include "world/file_values.h"

using namespace morvath;

TEST(BadInput, NumbersBeyondADoubleSaturateAndReadTheSameBack) {
    const std::wstring huge = L"1" + std::wstring(400, L'0');
    struct Case { std::wstring text; double val, script; };
    const Case cases[] = {{L"1e400", DBL_MAX, 1},        {L"-1e400", -DBL_MAX, -1},     {L"1e-400", 0, 1},
                          {L"0.0001e-330", 0, 0.0001},  {L"0.1e400", DBL_MAX, 0.1},    {L" 25e-1x", 2.5, 25},
                          {L"+7.5", 7.5, 7.5},          {huge, DBL_MAX, DBL_MAX},      {L"-" + huge, -DBL_MAX, -DBL_MAX},
                          {L"1." + huge + L"e309", DBL_MAX, 1.1}};  // the zeros after the point count for nothing
    for (const auto& c : cases) EXPECT_EQ(std::pair(Val(c.text), ScriptNumber(c.text)), std::pair(c.val, c.script)) << ToUtf8(c.text);
    EXPECT_EQ(std::tuple(Val(NumText(DBL_MAX)), NumText(123456789012345678.0), NumText(-0.1)), std::tuple(DBL_MAX, L"123456789012345680", L"-0.1"));
}

// The truth words and an empty field are numbers too (true is -1).
TEST(BadInput, AFieldTooSmallForItsValueSaturates) {
    TextReader r("1e400,-1e400,1e400,-1e40,1e400,#FALSE#,#TRUE#,\r\n");
    FieldReader f(r);
    Long money = 0;
    Integer hp = 0;
    float x = 0, y = 0;
    double d = 0, no = 9, yes = 9, empty = 9;
    f.Number(money).Number(hp).Single(x).Single(y).Number(d).Number(no).Number(yes).Number(empty);
    EXPECT_EQ(std::tuple(f.ok(), money, hp, x, y, d, no, yes, empty), std::tuple(true, 2147483647, -32768, FLT_MAX, -FLT_MAX, DBL_MAX, 0.0, -1.0, 0.0));
}

TEST(BadInput, AWindowSizeBeyondAnyScreenIsCut) {
    TempGameFolder folder;
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "morvath.ini", "[morvath]\r\nwheight=1e400\r\nwwidth=1e7\r\n"));
    int w = 0, h = 0;
    GameScreenSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(16384, 16384));
}
