#include "services/text_scroll.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "platform/cp1251.h"
#include "platform/frontend.h"

namespace morvath {
namespace {

constexpr const wchar_t* kProgramFile = L"morvath";
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 0;

std::wstring ReplaceAll(std::wstring text, std::wstring_view from, std::wstring_view to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::vector<std::wstring> SplitAtBars(const std::wstring& text) {
    std::vector<std::wstring> parts;
    std::size_t from = 0;
    for (std::size_t bar = text.find(L'|'); bar != std::wstring::npos; bar = text.find(L'|', from)) {
        parts.push_back(text.substr(from, bar - from));
        from = bar + 1;
    }
    parts.push_back(text.substr(from));
    return parts;
}

}  // namespace

template <typename F>
bool slpTextScroll::Guard(const wchar_t* label, F&& body) {
    const std::wstring where = std::wstring(L"(User Control) slpTextScroll::") + label;
    try {
        body();
        return true;
    } catch (const std::bad_alloc&) {
        ReportError(where, 7, L"Out of memory");
    } catch (const std::system_error& e) {
        ReportError(where, e.code().value(), FromUtf8(e.what()));
    } catch (const std::exception& e) {
        ReportError(where, 5, FromUtf8(e.what()));
    }
    return false;
}

void slpTextScroll::SetClientSize(int width, int height) {
    clientWidth_ = std::max(0, width);
    clientHeight_ = std::max(0, height);
}

void slpTextScroll::SetMeasure(MeasureText measure) { measure_ = std::move(measure); }

void slpTextScroll::SetText(const std::wstring& text) {
    Guard(L"Property Let Text", [&] { text_ = text; DrawText(); });
}
void slpTextScroll::SetFontColor(std::uint32_t colour) {
    Guard(L"Property Let FontColor", [&] { fontColor_ = colour; DrawText(); });
}
void slpTextScroll::SetShadowColor(std::uint32_t colour) {
    Guard(L"Property Let ShadowColor", [&] { shadowColor_ = colour; DrawText(); });
}
void slpTextScroll::SetShadowSize(short size) {
    Guard(L"Property Let ShadowSize", [&] { shadowSize_ = size; DrawText(); });
}
void slpTextScroll::SetShadowDirection(long direction) {
    Guard(L"Property Let ShadowDirection", [&] { shadowDirection_ = direction; DrawText(); });
}
void slpTextScroll::SetScrollDirection(long direction) {
    Guard(L"Property Let ScrollDirection", [&] { scrollDirection_ = direction; DrawText(); });
}
void slpTextScroll::SetTextAlign(short align) {
    Guard(L"Property Let TextAlign", [&] { textAlign_ = align; DrawText(); });
}
void slpTextScroll::SetWordWrap(bool wrap) {
    Guard(L"Property Let WordWrap", [&] { wordWrap_ = wrap; DrawText(); });
}
void slpTextScroll::FontChanged() {
    Guard(L"Property Set Font", [&] { DrawText(); });
}

bool slpTextScroll::LoadFromFile(const fs::path& path) {
    bool loaded = false;
    Guard(L"Function LoadFromFile", [&] {
        if (!FileExists(path)) return;
        std::optional<std::wstring> whole = ReadWholeFile(path);
        if (!whole) return;
        SetText(ReplaceAll(*whole, L"\r\n", L"|"));
        loaded = true;
    });
    return loaded;
}

bool slpTextScroll::StartScroll() {
    return Guard(L"Function StartScroll", [&] {
        DrawText();
        timer_ = true;
    });
}

bool slpTextScroll::StopScroll() {
    return Guard(L"Function StopScroll", [&] {
        timer_ = false;
        DrawText();
        passes_ = 0;
    });
}

std::vector<std::wstring> slpTextScroll::DoWordWrap(const std::wstring& line, int width, int shadow,
                                                    const MeasureText& measure) {
    std::vector<std::wstring> pieces;
    if (measure(line).width + 2 * shadow <= width) {
        pieces.push_back(line);
        return pieces;
    }
    const int room = width - 2 * shadow;
    std::size_t start = 0;
    std::size_t blank = std::wstring::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == L' ') blank = i;
        if (measure(line.substr(start, i - start + 1)).width <= room) continue;
        if (blank != std::wstring::npos && blank > start) {
            // The next line begins with the blank it was cut at.
            pieces.push_back(line.substr(start, blank - start));
            start = blank;
        } else if (i > start) {
            pieces.push_back(line.substr(start, i - start));
            start = i;
        } else {
            // A single character wider than the box is a line of its own, or the cut would
            // never move on.
            pieces.push_back(line.substr(start, 1));
            start = i + 1;
        }
    }
    if (start < line.size()) pieces.push_back(line.substr(start));
    return pieces;
}

void slpTextScroll::LoadTextArray() {
    Guard(L"Sub LoadTextArray", [&] { SplitText(); });
}

void slpTextScroll::SplitText() {
    lines_.clear();
    if (vertical()) {
        for (const std::wstring& part : SplitAtBars(text_)) {
            if (!wordWrap_) {
                lines_.push_back(part);
                continue;
            }
            for (auto& piece : DoWordWrap(part, clientWidth_, shadowSize_, measure_)) lines_.push_back(std::move(piece));
        }
    } else if (scrollDirection_ == 2) {
        lines_.push_back(ReplaceAll(text_, L"|", L"    "));
    }
}

bool slpTextScroll::DrawText() {
    return Guard(L"Function DrawText", [&] { Render(); });
}

void slpTextScroll::Render() {
    const bool running = timer_;
    timer_ = false;
    if (!text_.empty() && measure_) {
        LoadTextArray();
        prints_.clear();
        const int S = shadowSize_;
        const int H = measure_(L"A").height;
        const int Cw = clientWidth_;
        const int Ch = clientHeight_;
        if (vertical()) {
            const int U = static_cast<int>(lines_.size()) - 1;
            picHeight_ = (H + S) * U + Ch + 20;
            for (const auto& line : lines_) picWidth_ = std::max(picWidth_, measure_(line).width + 2 * S + 20);
        } else if (!lines_.empty()) {
            picHeight_ = H + S + 1;
            picWidth_ = measure_(lines_.front()).width + S + Cw + 20;
        }
        int printY = 0;
        for (const auto& line : lines_) PrintText(line, printY);
        y_ = static_cast<float>(Ch);
        x_ = static_cast<float>(Cw);
        if (vertical()) {
            switch (textAlign_) {
                case 0: case 3: picLeft_ = 1; break;
                case 1: picLeft_ = picWidth_ > Cw ? 0 : Cw / 2 - picWidth_ / 2; break;
                case 2: picLeft_ = Cw - picWidth_; break;
                default: break;
            }
        } else {
            picTop_ = picHeight_ > Ch ? 0 : Ch / 2 - picHeight_ / 2;
        }
        ++renders_;
    }
    timer_ = running;
}

void slpTextScroll::PrintText(const std::wstring& line, int& printY) {
    Guard(L"Sub PrintText", [&] { PrintLine(line, printY); });
}

void slpTextScroll::PrintLine(const std::wstring& line, int& printY) {
    const int S = std::max<int>(0, shadowSize_);
    const TextExtent size = measure_(line);
    int x = 0;
    switch (textAlign_) {
        case 0: case 3: x = S + 1; break;
        case 1: x = picWidth_ / 2 - size.width / 2 - S; break;
        case 2: x = picWidth_ - size.width - 2 * S; break;
        default: break;
    }
    int dx = 0, dy = 0;
    switch (shadowDirection_) {
        case 0: case 4: dx = -1; dy = -1; break;
        case 1: dx = 1; dy = 1; break;
        case 2: dx = -1; dy = 1; break;
        case 3: dx = 1; dy = -1; break;
        default: break;
    }
    // The copies start where printing stands and step towards the text, which is printed
    // where they end; the next line begins below the text. With a shadow cast upward the
    // first line's text rises above the picture's top edge by the shadow's size.
    int y = printY;
    for (int i = 0; i < S; ++i) {
        prints_.push_back({line, x, y, true});
        x += dx;
        y += dy;
    }
    prints_.push_back({line, x, y, false});
    printY = y + measure_(L"A").height;
}

void slpTextScroll::Timer1_Timer() {
    Guard(L"Sub Timer1_Timer", [&] {
        if (!timer_ || !HasPicture()) return;
        if (vertical()) {
            y_ -= 1;
            if (y_ < static_cast<float>(clientHeight_ - picHeight_)) ScrollDone();
        } else if (scrollDirection_ == 2) {
            x_ -= 1;
            if (x_ < static_cast<float>(clientWidth_ - picWidth_)) ScrollDone();
        }
    });
}

void slpTextScroll::ScrollDone() {
    Guard(L"Sub ScrollDone", [&] {
        if (repeatCount_ > 0) {
            passes_ += 1;
            if (passes_ >= repeatCount_) {
                timer_ = false;
                passes_ = 0;
            }
        }
        DrawText();
        if (ScrollFinished) ScrollFinished();
    });
}

void ReportError(const std::wstring& label, long number, const std::wstring& description, long line) {
    std::wstring text = L"Error " + std::to_wstring(number) + L" in " + label;
    if (line != 0) text += L" (Line #: " + std::to_wstring(line) + L")";
    text += L"\r\nwhile running " + std::wstring(kProgramFile) + L".exe v" + std::to_wstring(kVersionMajor) + L"." +
            std::to_wstring(kVersionMinor) + L" (Build " + std::to_wstring(kVersionRevision) + L")";
    text += L"\r\n\r\nError = '" + description + L"'";
    UI().MsgBox(text, MsgButtons::Ok, MsgIcon::Critical, L"Error");
}

std::wstring BuildCreditsText() {
    static const wchar_t* const kLines[] = {
        L"Morvath",
        L"",
        L"",
        L"Замысел и мир",
        L"команда Morvath",
        L"",
        L"Программа",
        L"команда Morvath",
        L"",
        L"Карты, сценарии и тексты",
        L"команда Morvath",
        L"",
        L"Рисунки и мелодии",
        L"команда Morvath",
        L"",
        L"",
        L"Сделано с помощью",
        L"Qt 6 (LGPLv3)",
        L"FluidSynth (LGPL-2.1 или новее)",
        L"звуковой шрифт TimGM6mb (GPL-2)",
        L"OpenSSL 3 (Apache-2.0)",
        L"шрифты DejaVu (свободная лицензия,",
        L"на основе Bitstream Vera)",
        L"",
        L"Только для проверки программы",
        L"GoogleTest и Google Benchmark",
        L"",
        L"",
        L"",
        L"",
        L"Да хранят тебя Духи Добра, странник,",
        L"и да минует тебя Хаос...",
        L"",
        L"",
        L"",
        L"Спасибо, что играете!",
    };
    std::wstring text = kLines[0];
    for (std::size_t i = 1; i < std::size(kLines); ++i) text += std::wstring(L"|") + kLines[i];
    return text;
}

}  // namespace morvath
