#pragma once
// The game screen's key map. Keys arrive as Windows virtual-key codes, which name the
// physical key whatever the keyboard layout, with the modifier flags of Shift (1), Ctrl (2)
// and Alt (4); the window translates its key events into these.

namespace morvath {

enum VirtualKey : int {
    kVkReturn = 13,
    kVkEscape = 27,
    kVkSpace = 32,
    kVkPageUp = 33,
    kVkPageDown = 34,
    kVkLeft = 37,
    kVkUp = 38,
    kVkRight = 39,
    kVkDown = 40,
    kVk5 = 53,        // the digit keys are their characters, '0'..'9'
    kVkNumpad5 = 101, // the letter keys are their capitals, 'A'..'Z'
    kVkF1 = 112,
    kVkF2 = 113,
    kVkF4 = 115,
    kVkF5 = 116,
    kVkF6 = 117,
    kVkF7 = 118,
    kVkF8 = 119,
    kVkF9 = 120,
    kVkF10 = 121,
    kVkF11 = 122,
    kVkSemicolon = 186,
    kVkComma = 188,
    kVkPeriod = 190,
};

enum ShiftFlags : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// One key press on the game screen: the key's command, then (for most keys) the location
// check and a redraw.
void PressKey(int KeyCode, int Shift);
// The extended command box (";" with a modifier): sleep, or pass a character. Its letters
// are read by their keys, so a Russian layout's "ы" and "Ы" are "s" and "S".
void adv_Kbd();

// The character of the US layout on the key that types a Russian letter (the ЙЦУКЕН rows
// over QWERTY), in the same case or shift state; any other character comes back as it is.
wchar_t LatinOnSameKey(wchar_t c);

// The speech box: the scroll keys stay with it (true); any other key closes it and goes to
// the key map (false).
bool SpeechBoxKey(int KeyCode, int Shift);

// The spell list's options 0..5 (5 closes the list).
void ChooseSpell(int Index);
void ChooseSpellWithEnter(int Index, int KeyAscii);
void CloseSpellListOnEscape(int Index, int KeyCode);

// The skill list (also the smithing choice).
void ChooseSkill();
void ChooseSkillWithEnter(int KeyAscii);
void CloseSkillListOnEscape(int KeyCode);

}  // namespace morvath
