#pragma once
// The scrolling text control of the About panel: a text of lines separated by "|" with a
// drop shadow, rendered once into an off-screen picture and moved one pixel per timer tick,
// upward or leftward. Here live its rules: splitting and wrapping the text, the picture's
// size and where each line and shadow copy lies on it, the scroll position and the passes.
// A window draws the picture and runs the timer; the font comes in through Measure.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace morvath {

// A text's size in the control's font, in pixels.
struct TextExtent {
    int width = 0;
    int height = 0;
};
using MeasureText = std::function<TextExtent(const std::wstring&)>;

// One print of a line on the picture: its top-left corner and whether it is a shadow copy.
struct PrintedText {
    std::wstring text;
    int x = 0;
    int y = 0;
    bool shadow = false;
};

class slpTextScroll {
public:
    // Colours as the game writes them: &HBBGGRR.
    std::uint32_t BackColor = 0xC0C0C0;
    bool Enabled = true;
    short BackStyle = 1;
    short BorderStyle = 1;
    // The timer's interval in milliseconds.
    short ScrollSpeed = 10;

    // The control's inner size and the font's measure; set both before anything is drawn.
    void SetClientSize(int width, int height);
    void SetMeasure(MeasureText measure);

    const std::wstring& Text() const { return text_; }
    std::uint32_t FontColor() const { return fontColor_; }
    std::uint32_t ShadowColor() const { return shadowColor_; }
    short ShadowSize() const { return shadowSize_; }
    long ShadowDirection() const { return shadowDirection_; }
    long ScrollDirection() const { return scrollDirection_; }
    short ScrollRepeatCount() const { return static_cast<short>(repeatCount_); }
    short TextAlign() const { return textAlign_; }
    bool WordWrap() const { return wordWrap_; }

    // Each of these renders the picture anew.
    void SetText(const std::wstring& text);
    void SetFontColor(std::uint32_t colour);
    void SetShadowColor(std::uint32_t colour);
    void SetShadowSize(short size);
    void SetShadowDirection(long direction);
    void SetScrollDirection(long direction);
    void SetTextAlign(short align);
    void SetWordWrap(bool wrap);
    // The font changed (the window's own property): renders anew.
    void FontChanged();
    // Passes before the scroll stops; 0 or less scrolls forever.
    void SetScrollRepeatCount(short count) { repeatCount_ = count; }

    // Reads a text file whole, its line ends becoming "|"; false when there is no such file.
    bool LoadFromFile(const fs::path& path);
    bool StartScroll();
    bool StopScroll();
    bool IsScrolling() const { return timer_; }
    // One tick of the timer: the picture one pixel further along.
    void Timer1_Timer();
    // Raised at the end of every pass.
    std::function<void()> ScrollFinished;

    // The lines as split (and wrapped) for the current direction.
    const std::vector<std::wstring>& Lines() const { return lines_; }
    // The picture: its size, everything printed on it, and a number that changes whenever it
    // is rendered, so a window knows when to draw it again. Empty text renders nothing.
    int PictureWidth() const { return picWidth_; }
    int PictureHeight() const { return picHeight_; }
    const std::vector<PrintedText>& Prints() const { return prints_; }
    unsigned RenderCount() const { return renders_; }
    bool HasPicture() const { return !prints_.empty(); }
    // Where the picture lies on the control now.
    int PictureLeft() const { return vertical() ? picLeft_ : static_cast<int>(x_); }
    int PictureTop() const { return vertical() ? static_cast<int>(y_) : picTop_; }
    int PassesDone() const { return static_cast<int>(passes_); }

    // The lines of a text for a width: kept whole when they fit, else cut at the last blank
    // before the edge, or inside a word wider than the box (every line has a character).
    static std::vector<std::wstring> DoWordWrap(const std::wstring& line, int width, int shadow,
                                                const MeasureText& measure);

private:
    bool vertical() const { return scrollDirection_ == 0 || scrollDirection_ == 1; }
    void LoadTextArray();
    void SplitText();
    bool DrawText();
    void Render();
    void PrintText(const std::wstring& line, int& printY);
    void PrintLine(const std::wstring& line, int& printY);
    void ScrollDone();
    // Runs a procedure of the control; a failure is reported with its label and it leaves.
    template <typename F>
    bool Guard(const wchar_t* label, F&& body);

    std::wstring text_;
    std::uint32_t fontColor_ = 0;
    std::uint32_t shadowColor_ = 0x808080;
    short shadowSize_ = 3;
    long shadowDirection_ = 4;
    long scrollDirection_ = 1;
    float repeatCount_ = 1;
    short textAlign_ = 1;
    bool wordWrap_ = false;

    MeasureText measure_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool timer_ = false;
    std::vector<std::wstring> lines_;
    std::vector<PrintedText> prints_;
    int picWidth_ = 0;
    int picHeight_ = 0;
    int picLeft_ = 0;
    int picTop_ = 0;
    float x_ = 0;
    float y_ = 0;
    float passes_ = 0;
    unsigned renders_ = 0;
};

// The error box of the control: "Error <n> in <label>", the program and its version, and
// the error's description.
void ReportError(const std::wstring& label, long number, const std::wstring& description, long line = 0);

// The credits of the About panel, lines joined by "|".
std::wstring BuildCreditsText();

}  // namespace morvath
