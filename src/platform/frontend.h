#pragma once
// The one way game rules reach the player. The core asks; a front end answers. The Qt
// window implements it with real dialogs; tests use ScriptedFrontend, which answers from a
// queue and keeps a log of everything asked. No rule waits on a widget any other way.
//
// Every method has a headless default (the first button, an empty answer, nothing shown),
// so a front end overrides only what it can show and new dialogs can be added here without
// touching every implementation.
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace morvath {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgResult { Ok, Cancel, Yes, No };

// One row of the inventory picker: its list line, and what the picker shows of the item
// while the row is selected.
struct PickerRow {
    std::wstring line;
    std::wstring name;
    std::wstring info;
    std::wstring weight;  // "Вес: ..."
};
// What the inventory picker shows: its caption, its coins label and one row per item.
struct PickerContent {
    std::wstring caption;
    std::wstring money;
    std::vector<PickerRow> rows;
};

class Frontend {
public:
    virtual ~Frontend() = default;

    // A modal message box; returns the button pressed.
    virtual MsgResult MsgBox(const std::wstring& text, MsgButtons buttons = MsgButtons::Ok,
                             MsgIcon icon = MsgIcon::None, const std::wstring& title = L"Morvath");
    // A modal input box; returns the text, or "" when cancelled.
    virtual std::wstring InputBox(const std::wstring& prompt, const std::wstring& title = L"Morvath",
                                  const std::wstring& defaultText = L"");
    // The read-only text viewer; modal waits until the player closes it. The viewer keeps
    // its caption until a caller gives it another one; an empty caption changes nothing.
    virtual void ShowText(const std::wstring& text, bool modal, const std::wstring& caption = L"");
    // Let the window repaint and handle pending input (long actions call this).
    virtual void DoEvents() {}
    // A short pause during an animation or a wait.
    virtual void Pause(int milliseconds) {}
    virtual void Beep() {}
    // The game screen should redraw the view and its labels now.
    virtual void Redraw() {}
    // Ends the program now, with no window-closing pass: the quit keys, and the hall of
    // fame closed after a run.
    virtual void EndProgram() {}
    // The choice dialog: a question and three options, the third hidden when it is empty.
    // Returns the option taken (0, 1 or 2), or kChoiceSkipped when the player skipped it or
    // closed the window.
    virtual int Choice(const std::wstring& question, const std::array<std::wstring, 3>& options);
    // The hall of fame. When a run has just ended (the hall of fame's writehf), the game
    // screen closes first and the run is recorded; modal waits until the player closes it.
    virtual void ShowHallOfFame(bool modal) {}
    // The inventory picker, modal. Returns the 1-based number of the row picked, 0 when the
    // player closed it without picking one.
    virtual int PickItem(const PickerContent& content) { return 0; }
    // The equipment screen, modal: its keys and clicks go to the equipment rules
    // (game/worn_items.h) until they close it.
    virtual void ShowEquipment() {}
};

inline constexpr int kChoiceSkipped = 11;

// The front end in use; a headless one until the application or a test installs its own.
Frontend& UI();
// Tells the player that something could not be read or written, and what became of it: one
// OK button under the warning sign.
inline void TellTrouble(const std::wstring& text) { UI().MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, L"Morvath"); }
// Installs a front end (not owned); nullptr restores the headless default.
void SetFrontend(Frontend* frontend);

// Answers from queues, logs every question. Tests assert on `log`.
class ScriptedFrontend : public Frontend {
public:
    std::deque<MsgResult> msgAnswers;      // empty queue: the first button
    std::deque<std::wstring> inputAnswers; // empty queue: the default text
    std::deque<int> choiceAnswers;         // empty queue: the first option
    std::deque<int> pickAnswers;           // empty queue: nothing picked (0)
    std::function<void()> equipmentVisit;  // what the player does on the equipment screen
    std::vector<std::wstring> log;         // "MsgBox|title|text", "InputBox|title|prompt",
                                           // "Choice|question|option0|option1|option2",
                                           // "Pick|caption|money|row1|row2...", "Equipment", ...
    PickerContent lastPicker;              // what the picker showed last
    std::wstring textCaption;              // the text viewer's caption, as the last ShowText left it
    std::function<void()> onPause;         // looks at the game during an animation's pauses

    MsgResult MsgBox(const std::wstring& text, MsgButtons buttons, MsgIcon icon,
                     const std::wstring& title) override;
    std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                          const std::wstring& defaultText) override;
    void ShowText(const std::wstring& text, bool modal, const std::wstring& caption) override;
    void Pause(int milliseconds) override;
    void Beep() override;
    void Redraw() override;
    void EndProgram() override;
    int Choice(const std::wstring& question, const std::array<std::wstring, 3>& options) override;
    void ShowHallOfFame(bool modal) override;
    int PickItem(const PickerContent& content) override;
    void ShowEquipment() override;

    // Installs itself for the lifetime of the object.
    ScriptedFrontend() { SetFrontend(this); }
    ~ScriptedFrontend() override { SetFrontend(nullptr); }
    ScriptedFrontend(const ScriptedFrontend&) = delete;
    ScriptedFrontend& operator=(const ScriptedFrontend&) = delete;

    // How many log lines start with the prefix.
    int Count(const std::wstring& prefix) const;
};

MsgResult FirstButton(MsgButtons buttons);

}  // namespace morvath
