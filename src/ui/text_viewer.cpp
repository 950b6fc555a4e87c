#include "ui/text_viewer.h"

#include <QFont>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace morvath::ui {

frmShowText& frmShowText::Instance() {
    static frmShowText* instance = new frmShowText();
    return *instance;
}

frmShowText::frmShowText() {
    setWindowTitle(QStringLiteral("Morvath"));
    resize(720, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    Text1 = new QPlainTextEdit(this);
    Text1->setReadOnly(true);
    Text1->setPlainText(QStringLiteral("Some Text...."));
    // A fixed-width face keeps the columns of the key help and the character sheet aligned.
    Text1->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    Text1->setStyleSheet(QStringLiteral(
        "QPlainTextEdit { background: #eec39a; color: #222034; border: 3px solid #8f563b; padding: 8px; }"));
    Text1->installEventFilter(this);
    layout->addWidget(Text1);
    setStyleSheet(QStringLiteral("QDialog { background: #45283c; }"));
}

void frmShowText::ShowText(const QString& text, bool modal, const QString& caption) {
    Text1->setPlainText(text);
    Text1->moveCursor(QTextCursor::Start);
    if (!caption.isEmpty()) setWindowTitle(caption);
    Text1->setFocus();
    if (modal) {
        exec();
    } else {
        show();
        raise();
        activateWindow();
    }
}

QString frmShowText::Text() const { return Text1->toPlainText(); }

bool frmShowText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                return false;  // the text box scrolls
            default:
                hide();
                if (isModal()) done(0);
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace morvath::ui
