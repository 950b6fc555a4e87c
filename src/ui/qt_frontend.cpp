#include "ui/qt_frontend.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include "ui/choice_dialog.h"
#include "ui/equipment_screen.h"
#include "ui/game_screen.h"
#include "ui/hall_of_fame.h"
#include "ui/inventory_picker.h"
#include "ui/qt_text.h"
#include "ui/text_viewer.h"
#include "platform/clock.h"
#include "world/game_state.h"

namespace morvath::ui {

QtFrontend& TheQtFrontend() {
    static QtFrontend f;
    return f;
}

namespace {

// A dialog opens over the game screen as the rules have just left it: a speech said a moment
// ago is on show while the player answers, and a box the same key closed is gone.
void ShowGameScreenAsItIs() {
    if (frmGame* screen = GameScreen()) screen->Refresh();
}

}  // namespace

MsgResult QtFrontend::MsgBox(const std::wstring& text, MsgButtons buttons, MsgIcon icon, const std::wstring& title) {
    ShowGameScreenAsItIs();
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Q(title));
    box.setText(Q(text));
    switch (icon) {
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::None: break;
    }
    QAbstractButton* ok = nullptr;
    QAbstractButton* cancel = nullptr;
    QAbstractButton* yes = nullptr;
    QAbstractButton* no = nullptr;
    switch (buttons) {
        case MsgButtons::Ok:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            box.setEscapeButton(ok);
            break;
        case MsgButtons::OkCancel:
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
            break;
        case MsgButtons::YesNo:
            yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
            box.setEscapeButton(no);
            break;
        case MsgButtons::YesNoCancel:
            yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
            cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
            break;
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == yes && yes) return MsgResult::Yes;
    if (clicked == no && no) return MsgResult::No;
    if (clicked == cancel && cancel) return MsgResult::Cancel;
    if (clicked == ok && ok) return MsgResult::Ok;
    // Closed by the window's close box: the escape button's answer.
    if (cancel) return MsgResult::Cancel;
    if (no) return MsgResult::No;
    return MsgResult::Ok;
}

std::wstring QtFrontend::InputBox(const std::wstring& prompt, const std::wstring& title, const std::wstring& defaultText) {
    ShowGameScreenAsItIs();
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(Q(title));
    box.setLabelText(Q(prompt));
    box.setTextValue(Q(defaultText));
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Отмена"));
    return box.exec() == QDialog::Accepted ? W(box.textValue()) : std::wstring();
}

void QtFrontend::ShowText(const std::wstring& text, bool modal, const std::wstring& caption) {
    ShowGameScreenAsItIs();
    frmShowText::Instance().ShowText(Q(text), modal, Q(caption));
}

void QtFrontend::DoEvents() { QApplication::processEvents(); }

void QtFrontend::Pause(int milliseconds) {
    const std::int64_t start = MonotonicMilliseconds();
    while (MonotonicMilliseconds() - start < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

void QtFrontend::Beep() { QApplication::beep(); }

int QtFrontend::Choice(const std::wstring& question, const std::array<std::wstring, 3>& options) {
    ShowGameScreenAsItIs();
    return frmS::Ask(question, options, QApplication::activeWindow());
}

int QtFrontend::PickItem(const PickerContent& content) {
    ShowGameScreenAsItIs();
    return frmBookmarks::Ask(content, QApplication::activeWindow());
}

void QtFrontend::ShowEquipment() {
    ShowGameScreenAsItIs();
    frmEquip::Open(QApplication::activeWindow());
}

void QtFrontend::Redraw() {
    if (onRedraw) onRedraw();
}

// The windows stay as they are: closing them would run their end-of-game passes.
void QtFrontend::EndProgram() { QCoreApplication::exit(0); }

void QtFrontend::ShowHallOfFame(bool modal) {
    if (modVarsAndMain.hallOfFame.writehf) {
        // The run is over and so is the game screen; the program ends when the hall of fame
        // closes, not when the game screen, for a moment the last window, does. The screen
        // is only hidden: the key or click that ended the run is still being handled by it
        // (and by its fight panel), and the events the hall of fame lets through meanwhile
        // (starting its tune does) would otherwise delete it under that handler's feet.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        if (frmGame* screen = GameScreen()) {
            screen->setAttribute(Qt::WA_DeleteOnClose, false);
            screen->close();
        }
    }
    ShowHallOfFameWindow(modal, onBackToMenu);
}

}  // namespace morvath::ui
