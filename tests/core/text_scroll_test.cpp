// The scrolling credits: splitting, wrapping, the picture and where the lines lie on it, and
// the passes. A fixed-width font: every character 7 pixels wide, "W" 30, lines 12 high.
#include <algorithm>
#include <stdexcept>

#include "services/text_scroll.h"
#include "test_support.h"

namespace morvath {
namespace {

TextExtent Fixed(const std::wstring& s) {
    int w = 0;
    for (wchar_t c : s) w += c == L'W' ? 30 : 7;
    return {w, 12};
}

slpTextScroll Control(const std::wstring& text, long direction = 1, bool wrap = false, int cw = 100, int ch = 50) {
    slpTextScroll c;
    c.SetClientSize(cw, ch);
    c.SetMeasure(Fixed);
    c.SetWordWrap(wrap);
    c.SetScrollDirection(direction);
    c.SetText(text);
    return c;
}

using Lines = std::vector<std::wstring>;

// Upward the text splits at bars, leftward it is one line with blanks for bars and never wraps.
// Wrapping: the width is the control's, the shadow of 3 takes 6 of it. A blank opens the next
// line; a word wider than the box is cut before the edge, a character wider than it is a line.
// A width of 0 turns wrapping off.
TEST(TextScroll, SplitsAtBarsUpwardJoinsWithBlanksLeftwardAndWraps) {
    const std::tuple<const wchar_t*, long, int, Lines> cases[] = {
        {L"ab|cd", 0, 0, {L"ab", L"cd"}}, {L"ab|cd", 5, 30, {}}, {L"ab||abcdefg", 1, 30, {L"ab", L"", L"abc", L"def", L"g"}}, {L"ab cd|ef", 2, 30, {L"ab cd    ef"}},
        {L"abc", 1, 27, {L"abc"}}, {L"abc", 1, 26, {L"ab", L"c"}}, {L"ab cdefghij", 1, 34, {L"ab", L" cde", L"fghi", L"j"}},
        {L"Wa", 1, 26, {L"W", L"a"}}, {L"aWW", 1, 26, {L"a", L"W", L"W"}}, {L"a bcd", 1, 26, {L"a", L" b", L"cd"}}};
    for (const auto& [text, direction, width, lines] : cases) EXPECT_EQ(Control(text, direction, width > 0, width).Lines(), lines) << text << width;
}

TEST(TextScroll, ThePictureHoldsEveryLineAndItsShadowAndStartsOutOfSight) {
    // Upward: (12 + 3) per line after the first, the box's height and 20 more; the widest line
    // with both shadows and 20; aligned across, starting just below the box. Leftward: one line
    // high with its shadow, long enough to leave the box, starting just right of it.
    const struct { const wchar_t* text; long direction; int ch, width, height, left, top; short align = 1; } cases[] = {
        {L"ab|abcd|", 1, 50, 54, 100, 23, 50},          {L"abcdefghijklm", 1, 50, 117, 70, 0, 50},
        {L"ab|abcd|", 1, 50, 54, 100, 46, 50, 2},       {L"ab|abcd|", 1, 50, 54, 100, 1, 50, 3},
        {L"ab|cd", 2, 50, 179, 16, 100, 17},            {L"ab|cd", 2, 10, 179, 16, 100, 0}};
    for (const auto& c : cases) {
        slpTextScroll s = Control(c.text, c.direction, false, 100, c.ch);
        s.SetTextAlign(c.align);
        EXPECT_EQ(std::tuple(s.PictureWidth(), s.PictureHeight(), s.PictureLeft(), s.PictureTop()),
                  std::tuple(c.width, c.height, c.left, c.top)) << c.text << " " << c.align;
    }
}

TEST(TextScroll, ShadowCopiesLieBehindTheText) {
    // Where the first line's copies lie from the top, the text last, and the second line's
    // text: its copies start a line's 12 below the first line's text.
    const struct { short align, size; long direction; std::vector<std::pair<int, int>> at; int nextTextY; } cases[] = {
        {0, 3, 4, {{4, 0}, {3, -1}, {2, -2}, {1, -3}}, 6}, {0, 3, 1, {{4, 0}, {5, 1}, {6, 2}, {7, 3}}, 18},
        {1, 2, 2, {{10, 0}, {9, 1}, {8, 2}}, 16},          {2, 2, 9, {{20, 0}, {20, 0}, {20, 0}}, 12}, {0, 0, 1, {{1, 0}}, 12}};
    for (const auto& c : cases) {
        slpTextScroll s = Control(L"");
        s.SetShadowSize(c.size);
        s.SetShadowDirection(c.direction);
        s.SetTextAlign(c.align);
        s.SetText(L"ab|c");
        std::vector<std::pair<int, int>> got;
        for (const auto& p : s.Prints()) {
            if (p.text == L"ab") got.emplace_back(p.x, p.y);
        }
        const auto& last = s.Prints().back();
        const auto shadows = std::count_if(s.Prints().begin(), s.Prints().end(), [](const auto& p) { return p.shadow; });
        EXPECT_EQ(std::tuple(got, shadows, last.shadow, last.text, last.y), std::tuple(c.at, 2 * c.size, false, std::wstring(L"c"), c.nextTextY)) << c.direction;
    }
}

TEST(TextScroll, PassesEndWithScrollFinishedAndStopAtTheRepeatCount) {
    // "ab|abcd|": a picture 100 high in a box 50 high, a pass of 101 steps upward; "ab|cd"
    // leftward: 179 wide in a box 100 wide, 180 steps. `at`: the picture's top, or its left going leftward.
    const struct { const wchar_t* text; long direction; short repeat; int ticks, finished; bool scrolling; int at; } cases[] = {
        {L"ab|abcd|", 1, 1, 100, 0, true, -50}, {L"ab|abcd|", 1, 2, 101, 1, true, 50}, {L"ab|abcd|", 1, 2, 250, 2, false, 50},
        {L"ab|abcd|", 1, 0, 303, 3, true, 50},  {L"ab|abcd|", 1, -1, 150, 1, true, 1}, {L"ab|cd", 2, 0, 179, 0, true, -79},
        {L"ab|cd", 2, 0, 180, 1, true, 100}};
    for (const auto& c : cases) {
        slpTextScroll s = Control(c.text, c.direction);
        int finished = 0;
        s.ScrollFinished = [&] { ++finished; };
        s.SetScrollRepeatCount(c.repeat);
        s.StartScroll();
        for (int i = 0; i < c.ticks; ++i) s.Timer1_Timer();
        EXPECT_EQ(std::tuple(finished, s.IsScrolling(), c.direction == 2 ? s.PictureLeft() : s.PictureTop(), s.PassesDone()),
                  std::tuple(c.finished, c.scrolling, c.at, c.repeat > 0 ? c.finished % c.repeat : 0)) << c.repeat << " " << c.ticks;
    }
    // Stopping puts the text back, forgets the passes, and the timer no longer moves it.
    slpTextScroll s = Control(L"ab|abcd|");
    s.SetScrollRepeatCount(3);
    s.StartScroll();
    for (int i = 0; i < 140; ++i) s.Timer1_Timer();
    const std::tuple before(s.PassesDone(), s.RenderCount());
    s.StopScroll();
    s.Timer1_Timer();
    EXPECT_EQ(std::tuple(before, s.IsScrolling(), s.PictureTop(), s.PassesDone(), s.RenderCount()),
              std::tuple(std::tuple(1, std::get<1>(before)), false, 50, 0, std::get<1>(before) + 1));
}

TEST(TextScroll, LoadsAFileWithItsLineEndsAsBarsAndReportsFailures) {
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "credits.txt", EncodeCp1251(L"Титры\r\nконец")));
    slpTextScroll s = Control(L"было");
    EXPECT_EQ(std::tuple(s.LoadFromFile(dir.path() / "missing.txt"), s.Text()), std::tuple(false, L"было"));
    EXPECT_TRUE(s.LoadFromFile(dir.path() / "credits.txt"));
    EXPECT_EQ(s.Lines(), (Lines{L"Титры", L"конец"}));
    ScriptedFrontend ui;
    s.SetMeasure([](const std::wstring&) -> TextExtent { throw std::runtime_error("no font"); });
    s.StartScroll();
    EXPECT_EQ(ui.log, (std::vector<std::wstring>{L"MsgBox|Error|Error 5 in (User Control) slpTextScroll::Function DrawText\r\n"
                                                 L"while running morvath.exe v1.0 (Build 0)\r\n\r\nError = 'no font'"}));
}

}  // namespace
}  // namespace morvath
