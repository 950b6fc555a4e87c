#include "ui/menu.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QPushButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>

#include "platform/files.h"
#include "ui/text_scroll.h"
#include "ui/theme.h"

namespace morvath::ui {
frmMenu::frmMenu() {
    setObjectName(QStringLiteral("frmMenu"));
    setStyleSheet(GameStyleSheet());
    setWindowTitle(QStringLiteral("Welcome to the Morvath!"));
    auto* root = new QHBoxLayout(this);

    Frame1 = new QGroupBox(QStringLiteral("Добро Пожаловать!..."), this);
    auto* l1 = new QVBoxLayout(Frame1);
    Label1 = new QLabel(QStringLiteral("...в волшебный мир компьютерной ролевой игры 'Morvath...'"), Frame1);
    Label1->setWordWrap(true);
    Label2 = new QLabel(QStringLiteral("Вы можете:"), Frame1);
    Command1 = new QPushButton(QStringLiteral("Создать персонажа."), Frame1);
    Command2 = new QPushButton(QStringLiteral("Загрузить предыдущую игру."), Frame1);
    Command3 = new QPushButton(QStringLiteral("Зайти в Зал Славы."), Frame1);
    Command6 = new QPushButton(QStringLiteral("Прочитать о программе."), Frame1);
    Command4 = new QPushButton(QStringLiteral("Выйти"), Frame1);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Command1),
                       static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command3), static_cast<QWidget*>(Command6),
                       static_cast<QWidget*>(Command4)}) {
        l1->addWidget(w);
    }
    l1->addStretch();
    Frame1->setFixedWidth(300);

    frmNewChar = new QGroupBox(QStringLiteral("Создать нового персонажа..."), this);
    auto* l2 = new QVBoxLayout(frmNewChar);
    Label3 = new QLabel(QStringLiteral("Ваше имя:"), frmNewChar);
    txtName = new QLineEdit(frmNewChar);
    Label4 = new QLabel(QStringLiteral("Выберите персонажа:"), frmNewChar);
    lstPersons = new QListWidget(frmNewChar);
    lstPersons->addItems({QStringLiteral("Князь"), QStringLiteral("Чернокнижник"), QStringLiteral("Монах"),
                          QStringLiteral("\"Коготь\""), QStringLiteral("Охотник")});
    lstPersons->setFixedHeight(110);
    chkSL = new QCheckBox(QStringLiteral("Оставлять сохранение когда персонажа убивают"), frmNewChar);
    Label5 = new QLabel(QStringLiteral("  После начала игры нажмите 'c' для           просмотра характеристик "
                                       "персонажа и F1 для справки о клавишах."),
                        frmNewChar);
    Label5->setWordWrap(true);
    Command5 = new QPushButton(QStringLiteral("Вперёд!"), frmNewChar);
    for (QWidget* w : {static_cast<QWidget*>(Label3), static_cast<QWidget*>(txtName), static_cast<QWidget*>(Label4),
                       static_cast<QWidget*>(lstPersons), static_cast<QWidget*>(chkSL), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(Command5)}) {
        l2->addWidget(w);
    }
    l2->addStretch();
    frmNewChar->setFixedWidth(430);
    frmNewChar->hide();

    frmStarting = new QGroupBox(QStringLiteral("Создание нового мира...(ждите)"), this);
    auto* l3 = new QVBoxLayout(frmStarting);
    lblStatus = new QLabel(QStringLiteral("Status"), frmStarting);
    picProgreso = new QFrame(frmStarting);
    picProgreso->setFixedHeight(22);
    picProgreso->setStyleSheet(QStringLiteral("background: #222034; border: 1px solid #d9a066;"));
    shaProgreso = new QFrame(picProgreso);
    shaProgreso->setStyleSheet(QStringLiteral("background: #df7126; border: none;"));
    shaProgreso->setGeometry(1, 1, 0, 20);
    lblPorc = new QLabel(QStringLiteral("0%"), frmStarting);
    lblAction = new QLabel(QString(), frmStarting);
    for (QWidget* w : {static_cast<QWidget*>(lblStatus), static_cast<QWidget*>(picProgreso),
                       static_cast<QWidget*>(lblPorc), static_cast<QWidget*>(lblAction)}) {
        l3->addWidget(w);
    }
    l3->addStretch();
    frmStarting->setFixedWidth(340);
    frmStarting->hide();

    Frame2 = new QGroupBox(QStringLiteral("О программе Morvath"), this);
    auto* l4 = new QVBoxLayout(Frame2);
    slpTextScroll1 = new TextScrollWidget(QSize(440, 330), Frame2);
    slpTextScroll1->setObjectName(QStringLiteral("slpTextScroll1"));
    slpTextScroll1->setFont(QFont(QStringLiteral("DejaVu Sans"), 12, QFont::Bold));
    slpTextScroll1->setStyleSheet(QStringLiteral("QFrame { border: 1px solid #8f563b; }"));
    slpTextScroll& credits = slpTextScroll1->Control();
    credits.BackColor = 0x342022;
    credits.ScrollSpeed = 25;
    credits.SetFontColor(0x66A0D9);
    credits.SetShadowColor(0x000000);
    credits.SetShadowSize(2);
    credits.SetScrollRepeatCount(0);
    Command7 = new QPushButton(QStringLiteral("Закрыть"), Frame2);
    l4->addWidget(slpTextScroll1);
    l4->addWidget(Command7, 0, Qt::AlignHCenter);
    Frame2->hide();

    // The window is as large as the panels it shows: the main menu alone, the menu with the
    // new character beside it, the progress, or the About panel.
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->addWidget(Frame1);
    root->addWidget(frmNewChar);
    root->addWidget(frmStarting);
    root->addWidget(Frame2);

    connect(Command1, &QPushButton::clicked, this, &frmMenu::newGameRequested);
    connect(Command2, &QPushButton::clicked, this, &frmMenu::loadGameRequested);
    connect(Command3, &QPushButton::clicked, this, &frmMenu::hallOfFameRequested);
    connect(Command5, &QPushButton::clicked, this, &frmMenu::startRequested);
    connect(Command6, &QPushButton::clicked, this, &frmMenu::aboutRequested);
    connect(Command7, &QPushButton::clicked, this, &frmMenu::aboutClosed);
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(lstPersons, &QListWidget::currentRowChanged, this, &frmMenu::personChanged);
    lstPersons->installEventFilter(this);
    lstPersons->viewport()->installEventFilter(this);
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event) {
    // A click on the person already chosen, and a key that leaves the choice where it was,
    // choose that person again: a new name is proposed, as for any other choice.
    if (watched == lstPersons->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QListWidgetItem* item = lstPersons->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (item && lstPersons->row(item) == lstPersons->currentRow()) emit personChanged(lstPersons->currentRow());
    } else if (watched == lstPersons && event->type() == QEvent::KeyPress) {
        const int before = lstPersons->currentRow();
        QMetaObject::invokeMethod(this, [this, before] {
            if (lstPersons->currentRow() == before) emit personChanged(before);
        }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

int frmMenu::GetProgress() const {
    const int inner = picProgreso->width() - 2;
    if (inner <= 0) return 0;
    return static_cast<int>(std::nearbyint(shaProgreso->width() * 100.0 / inner));
}

void frmMenu::ShowProgress(int percent, const QString& caption) {
    percent = std::clamp(percent, 0, 100);
    lblStatus->setText(caption);
    lblPorc->setText(QString::number(percent) + QStringLiteral("%"));
    int inner = picProgreso->width() - 2;
    shaProgreso->setGeometry(1, 1, inner * percent / 100, picProgreso->height() - 2);
}

void frmMenu::keyPressEvent(QKeyEvent* event) {
    // Esc closes the About panel as its button does.
    if (event->key() == Qt::Key_Escape && Frame2->isVisible()) {
        Command7->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMenu::Command4_Click() {
    // Ends the process at once, even while the credits scroll, as the exit button always has;
    // nothing is unloaded, so the lock is given up here or it would outlive the game.
    ReleaseInstanceLock();
    std::_Exit(0);
}

namespace {

QLockFile& InstanceLock() {
    static QLockFile lock(InstanceLockPath());
    return lock;
}

}  // namespace

QString InstanceLockPath() {
    // One lock per game folder: two different installations may run side by side.
    const QByteArray key = QCryptographicHash::hash(QByteArray::fromStdString(GameFolder().string()),
                                                    QCryptographicHash::Md5).toHex().left(12);
    return QDir::temp().filePath(QStringLiteral("morvath-%1.lock").arg(QString::fromLatin1(key)));
}

bool AnotherInstanceRunning() {
    static const bool running = [] {
        InstanceLock().setStaleLockTime(0);
        return !InstanceLock().tryLock(100);
    }();
    return running;
}

void ReleaseInstanceLock() { InstanceLock().unlock(); }

}  // namespace morvath::ui
