#include "ui/hall_of_fame.h"

#include <QApplication>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/frontend.h"
#include "services/music.h"
#include "ui/qt_text.h"

namespace morvath::ui {
namespace {

constexpr int kListPadding = 6;

}  // namespace

frmHallOfFame::frmHallOfFame(QWidget* parent) : QDialog(parent) {
    const QString caption = QStringLiteral("Зал Славы 'Morvath...'");
    setWindowTitle(caption);
    resize(460, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    // The caption inside the window as well: a desktop without window frames still names
    // it, and an empty list is still plainly the hall of fame.
    auto* heading = new QLabel(caption, this);
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(QStringLiteral("QLabel { color: #fbf236; font-size: 15pt; font-weight: bold; padding: 4px; }"));
    layout->addWidget(heading);
    List1 = new QListWidget(this);
    List1->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    List1->setStyleSheet(QStringLiteral(
        "QListWidget { background: #eec39a; color: #222034; border: 3px solid #8f563b; padding: %1px; }"
        "QListWidget::item:selected { background: #8f563b; color: #fbf236; }").arg(kListPadding));
    // A line wider than the screen allows wraps; nothing is ever scrolled sideways.
    List1->setWordWrap(true);
    List1->setTextElideMode(Qt::ElideNone);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setResizeMode(QListView::Adjust);
    List1->installEventFilter(this);
    layout->addWidget(List1, 1);
    // A visible way out, which closes the window as Esc does.
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setAutoDefault(false);
    close->setStyleSheet(QStringLiteral("QPushButton { background: #663931; color: #fbf236; border: 1px solid #d9a066;"
                                        " padding: 5px 24px; } QPushButton:hover { background: #8f563b; }"));
    connect(close, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    layout->addWidget(close, 0, Qt::AlignHCenter);
    setStyleSheet(QStringLiteral("QDialog { background: #45283c; }"));
    endProgram = [] { UI().EndProgram(); };
}

void frmHallOfFame::Form_Load() {
    hof_.Open();
    List1->clear();
    for (const auto& line : hof_.List1) List1->addItem(Q(line));
    // As wide as its longest line (an ending's epitaph is the longest the game writes), so
    // every line reads whole, within the screen; as tall as the records need, within reason:
    // an empty hall is a small window.
    int widest = 0;
    for (int i = 0; i < List1->count(); ++i) widest = std::max(widest, List1->fontMetrics().horizontalAdvance(List1->item(i)->text()));
    const int rows = std::clamp(List1->count(), 4, 28);
    const int rowHeight = List1->fontMetrics().height() + 2;
    layout()->activate();
    // Room beside the text: the window's margins, the list's frame and padding, the item's
    // own margins and a scroll bar, should the records outgrow the height.
    const QMargins margins = layout()->contentsMargins();
    const int beside = margins.left() + margins.right() + 2 * (List1->frameWidth() + kListPadding) +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
    const int screenWidth = screen() ? screen()->availableGeometry().width() - 40 : 1024;
    const int w = std::clamp(widest + beside, 460, std::max(460, screenWidth));
    resize(w, height() - List1->height() + rows * rowHeight + 2 * List1->frameWidth() + 16);
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
