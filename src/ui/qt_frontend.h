#pragma once
// The ask-the-player interface on real Qt dialogs.
#include <functional>

#include "platform/frontend.h"

namespace morvath::ui {

class QtFrontend : public Frontend {
public:
    MsgResult MsgBox(const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                     const std::wstring& title) override;
    std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                          const std::wstring& defaultText) override;
    void ShowText(const std::wstring& text, bool modal, const std::wstring& caption) override;
    void DoEvents() override;
    void Pause(int milliseconds) override;
    void Beep() override;
    void Redraw() override;
    int Choice(const std::wstring& question, const std::array<std::wstring, 3>& options) override;
    void EndProgram() override;
    void ShowHallOfFame(bool modal) override;
    int PickItem(const PickerContent& content) override;
    void ShowEquipment() override;

    // The game screen registers how it repaints itself.
    std::function<void()> onRedraw;
    // The start menu registers how it comes back after a visit to the hall of fame.
    std::function<void()> onBackToMenu;
};

// The application's one instance.
QtFrontend& TheQtFrontend();

}  // namespace morvath::ui
