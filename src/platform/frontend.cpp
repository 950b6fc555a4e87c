#include "platform/frontend.h"

namespace morvath {
namespace {

Frontend& headless() {
    static Frontend f;
    return f;
}

Frontend*& current() {
    static Frontend* f = nullptr;
    return f;
}

}  // namespace

MsgResult FirstButton(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgResult::Yes;
        default:
            return MsgResult::Ok;
    }
}

MsgResult Frontend::MsgBox(const std::wstring&, MsgButtons buttons, MsgIcon, const std::wstring&) {
    return FirstButton(buttons);
}

std::wstring Frontend::InputBox(const std::wstring&, const std::wstring&, const std::wstring& defaultText) {
    return defaultText;
}

void Frontend::ShowText(const std::wstring&, bool, const std::wstring&) {}

int Frontend::Choice(const std::wstring&, const std::array<std::wstring, 3>&) { return 0; }

Frontend& UI() { return current() ? *current() : headless(); }

void SetFrontend(Frontend* frontend) { current() = frontend; }

MsgResult ScriptedFrontend::MsgBox(const std::wstring& text, MsgButtons buttons, MsgIcon, const std::wstring& title) {
    log.push_back(L"MsgBox|" + title + L"|" + text);
    if (msgAnswers.empty()) return FirstButton(buttons);
    MsgResult r = msgAnswers.front();
    msgAnswers.pop_front();
    return r;
}

std::wstring ScriptedFrontend::InputBox(const std::wstring& prompt, const std::wstring& title,
                                        const std::wstring& defaultText) {
    log.push_back(L"InputBox|" + title + L"|" + prompt);
    if (inputAnswers.empty()) return defaultText;
    std::wstring r = inputAnswers.front();
    inputAnswers.pop_front();
    return r;
}

void ScriptedFrontend::ShowText(const std::wstring& text, bool modal, const std::wstring& caption) {
    if (!caption.empty()) textCaption = caption;
    log.push_back(std::wstring(modal ? L"ShowText|modal|" : L"ShowText|modeless|") + text);
}

void ScriptedFrontend::Pause(int) {}
void ScriptedFrontend::Beep() { log.push_back(L"Beep"); }
void ScriptedFrontend::Redraw() {}
void ScriptedFrontend::EndProgram() { log.push_back(L"EndProgram"); }
void ScriptedFrontend::ShowHallOfFame(bool modal) {
    log.push_back(std::wstring(L"ShowHallOfFame|") + (modal ? L"modal" : L"modeless"));
}

int ScriptedFrontend::Choice(const std::wstring& question, const std::array<std::wstring, 3>& options) {
    log.push_back(L"Choice|" + question + L"|" + options[0] + L"|" + options[1] + L"|" + options[2]);
    if (choiceAnswers.empty()) return 0;
    int r = choiceAnswers.front();
    choiceAnswers.pop_front();
    return r;
}

int ScriptedFrontend::PickItem(const PickerContent& content) {
    lastPicker = content;
    std::wstring line = L"Pick|" + content.caption + L"|" + content.money;
    for (const auto& row : content.rows) line += L"|" + row.line;
    log.push_back(line);
    if (pickAnswers.empty()) return 0;
    int r = pickAnswers.front();
    pickAnswers.pop_front();
    return r;
}

void ScriptedFrontend::ShowEquipment() {
    log.push_back(L"Equipment");
    if (equipmentVisit) equipmentVisit();
}

int ScriptedFrontend::Count(const std::wstring& prefix) const {
    int n = 0;
    for (const auto& l : log) {
        if (l.starts_with(prefix)) ++n;
    }
    return n;
}

}  // namespace morvath
