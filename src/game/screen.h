#pragma once
// The game screen's operations that rules, scripts and other screens call. What the screen
// shows lives in modVarsAndMain (screen, gameScreen); the window renders it.

namespace morvath {

// The screen opens: the portrait shows the hero facing down.
void OpenGameScreen();
// The screen's window is closed (not by a quit key): saves a running game, then ends it.
void CloseGameScreen();
// True while the screen must not act on keys: the hero sleeps, a spell or arrow flies, or
// the forge's choices wait for an answer.
bool KeysBlocked();

// The speech box.
void HideSpeech();

// The spell list (key S).
void ShowSpellList();
void HideSpellList();

// Ends the program from a quit key: the window closes without the closing pass.
void EndProgram();

}  // namespace morvath
