#include "ui/choice_dialog.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/frontend.h"
#include "ui/game_screen.h"
#include "ui/qt_text.h"

namespace morvath::ui {

frmS::frmS(QWidget* parent) : QDialog(parent), answer_(kChoiceSkipped) {
    setWindowTitle(QStringLiteral("Morvath"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    lbltxt = new QLabel(this);
    lbltxt->setWordWrap(true);
    layout->addWidget(lbltxt);

    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        lblA[i] = new QRadioButton(QStringLiteral("Opt"), this);
        lblA[i]->installEventFilter(this);
        group->addButton(lblA[i], i);
        layout->addWidget(lblA[i]);
    }

    Label1 = new QLabel(QStringLiteral("Пропустить"), this);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    layout->addWidget(Label1);
}

void frmS::Fill(const std::wstring& question, const std::array<std::wstring, 3>& options) {
    lbltxt->setText(Q(question));
    for (int i = 0; i < 3; ++i) lblA[i]->setText(Q(options[i]));
    lblA[2]->setVisible(!options[2].empty());
    answer_ = kChoiceSkipped;
}

int frmS::Ask(const std::wstring& question, const std::array<std::wstring, 3>& options, QWidget* parent) {
    frmS dialog(parent);
    dialog.Fill(question, options);
    PlaceBesideTheHero(dialog);
    dialog.exec();
    return dialog.Answer();
}

void frmS::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    lblA[0]->setChecked(true);
    lblA[0]->setFocus();
}

void frmS::Take(int answer) {
    answer_ = answer;
    accept();
}

bool frmS::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        Take(kChoiceSkipped);
        return true;
    }
    for (int i = 0; i < 3; ++i) {
        if (watched != lblA[i]) continue;
        if (event->type() == QEvent::MouseButtonDblClick) {
            Take(i);
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Take(i);
                return true;
            }
            if (key == Qt::Key_Escape) {
                Take(kChoiceSkipped);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace morvath::ui
