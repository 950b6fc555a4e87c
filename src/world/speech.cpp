#include "world/speech.h"

#include "world/game_state.h"

namespace morvath {

void Say(const std::wstring& text, const std::wstring& speaker) {
    auto& s = modVarsAndMain.screen;
    s.txtSpeech = speaker + text + L"\r\n\r\n[пробел]";
    s.speechVisible = true;
    ++s.speechSerial;  // the box takes the keyboard, so the next key closes it
}

void ShowInfo(const std::wstring& text) { modVarsAndMain.screen.lblII = text; }

void ClearSpeech() {
    auto& s = modVarsAndMain.screen;
    s.txtSpeech.clear();
    for (auto& c : s.choiceCaptions) c.clear();
}

}  // namespace morvath
