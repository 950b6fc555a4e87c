#include "ui/hall_of_fame.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "platform/frontend.h"
#include "services/music.h"
#include "ui/qt_text.h"

namespace morvath::ui {

frmHallOfFame::frmHallOfFame(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Зал Славы 'Morvath...'"));
    resize(460, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    List1 = new QListWidget(this);
    List1->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    List1->setStyleSheet(QStringLiteral(
        "QListWidget { background: #eec39a; color: #222034; border: 3px solid #8f563b; padding: 6px; }"
        "QListWidget::item:selected { background: #8f563b; color: #fbf236; }"));
    List1->installEventFilter(this);
    layout->addWidget(List1);
    setStyleSheet(QStringLiteral("QDialog { background: #45283c; }"));
    endProgram = [] { UI().EndProgram(); };
}

void frmHallOfFame::Form_Load() {
    hof_.Open();
    List1->clear();
    for (const auto& line : hof_.List1) List1->addItem(Q(line));
    List1->setFocus();
}

void frmHallOfFame::done(int r) {
    if (!unloaded_) {
        unloaded_ = true;
        if (hof_.Close()) {
            if (endProgram) endProgram();
        } else {
            emit backToMenu();
        }
    }
    QDialog::done(r);
}

bool frmHallOfFame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        // Any key silences the tune; Esc also closes.
        modMusicEngine::MidiClose();
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            done(QDialog::Rejected);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ShowHallOfFameWindow(bool modal, const std::function<void()>& backToMenu) {
    auto* w = new frmHallOfFame();
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (backToMenu) QObject::connect(w, &frmHallOfFame::backToMenu, w, backToMenu);
    w->Form_Load();
    if (modal) {
        w->exec();
    } else {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

}  // namespace morvath::ui
