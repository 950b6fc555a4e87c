#pragma once
// The one channel for texts to the player: the speech box, and the one-line info label.
#include <string>

namespace morvath {

// Shows speaker & text & two line breaks & "[пробел]" in the speech box; does not wait.
// `speaker` is "" or a character's name followed by ":".
void Say(const std::wstring& text, const std::wstring& speaker = L"");
// Writes the info line.
void ShowInfo(const std::wstring& text);
// Empties the speech box and the choice dialog's three options; visibility is unchanged.
void ClearSpeech();

}  // namespace morvath
