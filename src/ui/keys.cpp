#include "ui/keys.h"

#include <QGuiApplication>

#include "game/keymap.h"

namespace morvath::ui {
namespace {

// X11 key codes (evdev) of the main key block, row by row, to virtual-key codes.
int FromX11KeyCode(quint32 code) {
    static constexpr int kFirst = 10;
    static constexpr int kTable[] = {
        '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 189, 187, 8, 9,   // 10..23
        'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 219, 221, 13, 0,  // 24..37
        'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 186, 222, 192, 0, 220, // 38..51
        'Z', 'X', 'C', 'V', 'B', 'N', 'M', 188, 190, 191,                   // 52..61
    };
    if (code < kFirst || code >= kFirst + std::size(kTable)) return 0;
    return kTable[code - kFirst];
}

// A typed character back to its key: Latin letters and digits, the US punctuation and its
// shifted forms, and the Russian layout's letters on their Latin keys.
int FromCharacter(QChar ch) {
    const QChar up = ch.toUpper();
    const char16_t u = up.unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) return u;
    switch (u) {
        case ';': case ':': return 186;
        case '=': case '+': return 187;
        case ',': case '<': return 188;
        case '-': case '_': return 189;
        case '.': case '>': return 190;
        case '/': case '?': return 191;
        case '`': case '~': return 192;
        case '[': case '{': return 219;
        case '\\': case '|': return 220;
        case ']': case '}': return 221;
        case '\'': case '"': return 222;
        case '!': return '1';
        case '@': return '2';
        case '#': return '3';
        case '$': return '4';
        case '%': return '5';
        case '^': return '6';
        case '&': return '7';
        case '*': return '8';
        case '(': return '9';
        case ')': return '0';
        default: break;
    }
    // A Russian letter names the key it is typed on.
    const wchar_t latin = LatinOnSameKey(static_cast<wchar_t>(u));
    if (latin != static_cast<wchar_t>(u)) return FromCharacter(QChar(static_cast<char16_t>(latin)));
    return 0;
}

}  // namespace

int KeyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text, quint32 nativeScanCode, bool x11) {
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
        if (qtKey == Qt::Key_Clear) return 12;  // the pad's 5 without Num Lock
    }
    switch (qtKey) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Return: case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
    if (x11) {
        if (int vk = FromX11KeyCode(nativeScanCode)) return vk;
    }
    if (!text.isEmpty() && text[0].isPrint()) {
        if (int vk = FromCharacter(text[0])) return vk;
    }
    // Ctrl and Alt may leave no text: the key itself, when it is a Latin letter or a digit.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
    if (qtKey > 0 && qtKey < 0x10000) return FromCharacter(QChar(static_cast<char16_t>(qtKey)));
    return 0;
}

int KeyCodeOf(const QKeyEvent& event) {
    static const bool x11 = QGuiApplication::platformName() == QStringLiteral("xcb");
    return KeyCodeOf(event.key(), event.modifiers(), event.text(), event.nativeScanCode(), x11);
}

int ShiftOf(Qt::KeyboardModifiers modifiers) {
    int flags = 0;
    if (modifiers & Qt::ShiftModifier) flags |= 1;
    if (modifiers & Qt::ControlModifier) flags |= 2;
    if (modifiers & Qt::AltModifier) flags |= 4;
    return flags;
}

}  // namespace morvath::ui
