// The scrolling credits: splitting, wrapping, the picture and where the lines lie on it, and
// the passes. A fixed-width font: every character 7 pixels wide, "W" 30, lines 12 high.
#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "platform/cp1251.h"
#include "platform/frontend.h"
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

TEST(TextScroll, WrapsAtTheLastBlankOrInsideAWordWiderThanTheBox) {
    const struct {
        const wchar_t* line;
        int width;  // the control's; the shadow of 3 takes 6 of it
        Lines pieces;
    } cases[] = {
        {L"abc", 27, {L"abc"}},                                  // just fits with its shadow
        {L"abc", 26, {L"ab", L"c"}},                             // no blank: cut before the edge
        {L"ab cdefghij", 34, {L"ab", L" cde", L"fghi", L"j"}},   // the blank opens the next line
        {L"Wa", 26, {L"W", L"a"}},                               // one character wider than the box
        {L"W", 26, {L"W"}},
        {L"aWW", 26, {L"a", L"W", L"W"}},
        {L"", 50, {L""}},                                        // an empty line stays a line
        {L"a bcd", 26, {L"a", L" b", L"cd"}},                     // the last piece keeps the rest
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slpTextScroll::DoWordWrap(c.line, c.width, 3, Fixed), c.pieces) << c.line << " in " << c.width;
    }
}

TEST(TextScroll, SplitsAtBarsUpwardAndJoinsWithBlanksLeftward) {
    const struct {
        const wchar_t* text;
        long direction;
        bool wrap;
        int width;
        Lines lines;
    } cases[] = {
        {L"ab|cd", 1, false, 100, {L"ab", L"cd"}},
        {L"ab|cd", 0, false, 100, {L"ab", L"cd"}},
        {L"ab|cd", 2, false, 100, {L"ab    cd"}},
        {L"ab|cd", 5, false, 100, {}},
        {L"ab||abcdefg", 1, false, 30, {L"ab", L"", L"abcdefg"}},
        {L"ab||abcdefg", 1, true, 30, {L"ab", L"", L"abc", L"def", L"g"}},
        {L"ab cd|ef", 2, true, 30, {L"ab cd    ef"}},  // leftward never wraps
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Control(c.text, c.direction, c.wrap, c.width).Lines(), c.lines) << c.text << " " << c.direction;
    }
}

TEST(TextScroll, ThePictureHoldsEveryLineAndItsShadowAndStartsOutOfSight) {
    const struct {
        const wchar_t* text;
        long direction;
        int cw, ch;
        int width, height, left, top;
        short align = 1;
    } cases[] = {
        // upward: (12 + 3) per line after the first, the control's height and 20 more;
        // the widest line with both shadows and 20; centred, starting just below the box
        {L"ab|abcd|", 1, 100, 50, 54, 100, 23, 50},
        {L"abcdefghijklm", 1, 100, 50, 117, 50 + 20, 0, 50},  // wider than the box: at its left
        {L"ab|abcd|", 1, 100, 50, 54, 100, 46, 50, 2},          // right
        {L"ab|abcd|", 1, 100, 50, 54, 100, 1, 50, 3},           // left
        // leftward: one line high with its shadow, long enough to leave the box; starting
        // just right of it, centred across
        {L"ab|cd", 2, 100, 50, 56 + 3 + 100 + 20, 16, 100, 17},
        {L"ab|cd", 2, 100, 10, 179, 16, 100, 0},  // higher than the box: at its top
    };
    for (const auto& c : cases) {
        slpTextScroll s = Control(c.text, c.direction, false, c.cw, c.ch);
        s.SetTextAlign(c.align);
        EXPECT_EQ(std::tuple(s.PictureWidth(), s.PictureHeight(), s.PictureLeft(), s.PictureTop()),
                  std::tuple(c.width, c.height, c.left, c.top)) << c.text << " " << c.align;
    }
}

TEST(TextScroll, ShadowCopiesLieBehindTheText) {
    const struct {
        short align, size;
        long direction;
        std::vector<std::pair<int, int>> at;  // the first line's copies, the text last
        int nextTextY;                        // the second line's text: a band of 12 + shadow on
    } cases[] = {
        {0, 3, 4, {{4, 3}, {3, 2}, {2, 1}, {1, 0}}, 15},  // the shadow to the lower right
        {0, 3, 1, {{4, 0}, {5, 1}, {6, 2}, {7, 3}}, 18},
        {0, 0, 4, {{1, 0}}, 12},                          // no shadow: the text alone
        {1, 2, 2, {{10, 0}, {9, 1}, {8, 2}}, 16},         // centred on a picture 38 wide
        {2, 2, 9, {{20, 0}, {20, 0}, {20, 0}}, 14},       // no known direction: copies in one place
    };
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
        SCOPED_TRACE(std::to_string(c.align) + " " + std::to_string(c.size) + " " + std::to_string(c.direction));
        ASSERT_EQ(got, c.at);
        const auto& last = s.Prints().back();
        EXPECT_EQ(std::tuple(last.shadow, last.text, last.y), std::tuple(false, std::wstring(L"c"), c.nextTextY));
    }
}

TEST(TextScroll, PassesEndWithScrollFinishedAndStopAtTheRepeatCount) {
    // "ab|abcd|": a picture 100 high in a box 50 high, a pass of 101 steps upward; "ab|cd"
    // leftward: 179 wide in a box 100 wide, 180 steps.
    const struct {
        const wchar_t* text;
        long direction;
        short repeat;
        int ticks;
        int finished;
        bool scrolling;
        int at;  // the picture's top, or its left going leftward
    } cases[] = {
        {L"ab|abcd|", 1, 1, 100, 0, true, -50},
        {L"ab|abcd|", 1, 1, 101, 1, false, 50},  // the last pass: stopped, back at the start
        {L"ab|abcd|", 1, 2, 101, 1, true, 50},
        {L"ab|abcd|", 1, 2, 202, 2, false, 50},
        {L"ab|abcd|", 1, 2, 250, 2, false, 50},  // a stopped control does not move
        {L"ab|abcd|", 1, 0, 303, 3, true, 50},   // endless
        {L"ab|abcd|", 1, -1, 150, 1, true, 1},
        {L"ab|cd", 2, 0, 179, 0, true, -79},
        {L"ab|cd", 2, 0, 180, 1, true, 100},
    };
    for (const auto& c : cases) {
        slpTextScroll s = Control(c.text, c.direction);
        int finished = 0;
        s.ScrollFinished = [&] { ++finished; };
        s.SetScrollRepeatCount(c.repeat);
        s.StartScroll();
        for (int i = 0; i < c.ticks; ++i) s.Timer1_Timer();
        EXPECT_EQ(std::tuple(finished, s.IsScrolling(), c.direction == 2 ? s.PictureLeft() : s.PictureTop(), s.PassesDone()),
                  std::tuple(c.finished, c.scrolling, c.at, c.repeat > 0 ? c.finished % c.repeat : 0))
            << c.repeat << " " << c.ticks;
    }
}

TEST(TextScroll, StopScrollPutsTheTextBackAndForgetsThePasses) {
    slpTextScroll s = Control(L"ab|abcd|");
    s.SetScrollRepeatCount(3);
    s.StartScroll();
    for (int i = 0; i < 140; ++i) s.Timer1_Timer();
    EXPECT_EQ(s.PassesDone(), 1);
    const unsigned renders = s.RenderCount();
    s.StopScroll();
    EXPECT_EQ(std::tuple(s.IsScrolling(), s.PictureTop(), s.PassesDone(), s.RenderCount()),
              std::tuple(false, 50, 0, renders + 1));
    s.Timer1_Timer();
    EXPECT_EQ(s.PictureTop(), 50);
}

TEST(TextScroll, LoadsAFileWithItsLineEndsAsBarsAndReportsFailures) {
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "credits.txt", EncodeCp1251(L"Титры\r\nконец")));
    slpTextScroll s = Control(L"было");
    EXPECT_FALSE(s.LoadFromFile(dir.path() / "missing.txt"));
    EXPECT_EQ(s.Text(), L"было");
    EXPECT_TRUE(s.LoadFromFile(dir.path() / "credits.txt"));
    EXPECT_EQ(s.Lines(), (Lines{L"Титры", L"конец"}));

    ScriptedFrontend ui;
    s.SetMeasure([](const std::wstring&) -> TextExtent { throw std::runtime_error("no font"); });
    s.StartScroll();
    ASSERT_EQ(ui.log.size(), 1u);
    EXPECT_EQ(ui.log[0],
              L"MsgBox|Error|Error 5 in (User Control) slpTextScroll::Function DrawText\r\n"
              L"while running morvath.exe v1.0 (Build 0)\r\n\r\nError = 'no font'");
}

}  // namespace
}  // namespace morvath
