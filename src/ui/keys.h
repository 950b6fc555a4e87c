#pragma once
// Qt key events to the key map's Windows virtual-key codes. The key map names physical keys
// ("the L key"), whatever the keyboard layout: under a Russian layout that key types "д", and
// the game must still look. On X11 the layout-free key code of the event decides; elsewhere
// the character typed is mapped back to its key through the Russian and Latin layouts.
#include <QKeyEvent>

namespace morvath::ui {

// 0 for a key the key map has no code for.
int KeyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text, quint32 nativeScanCode,
               bool x11);
int KeyCodeOf(const QKeyEvent& event);
// Shift 1, Ctrl 2, Alt 4.
int ShiftOf(Qt::KeyboardModifiers modifiers);

}  // namespace morvath::ui
