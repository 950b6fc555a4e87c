#include "ui/fight_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "game/fight.h"
#include "game/fight_panel.h"
#include "ui/qt_text.h"
#include "world/game_state.h"

namespace morvath::ui {
namespace {

QString Style() {
    return QStringLiteral(
        "QLabel#lblHeroName, QLabel#lblEnemyName, QLabel#lblFight { font-weight: bold; }"
        "QFrame#Shape3, QFrame#enemyTrack { background: #3a3a3a; border: 1px solid #202020; }"
        "QFrame#shapeLife { background: #3c9a28; border: none; }"
        "QFrame#SHPEnemyLife { background: #b02828; border: none; }");
}

QFrame* Track(const char* name, QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFixedSize(frmFight::kBarWidth, 10);
    return f;
}

QFrame* Bar(const char* name, QFrame* track) {
    auto* b = new QFrame(track);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(0, 0, track->width(), track->height());
    return b;
}

void SetBar(QFrame* bar, const QFrame* track, double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    bar->setGeometry(0, 0, static_cast<int>(std::lround(fraction * track->width())), track->height());
}

QPushButton* Button(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    // Enter and Space both press the focused button and Tab walks between the four, so a
    // whole fight can be played from the keyboard.
    b->setAutoDefault(true);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

}  // namespace

frmFight::frmFight(QWidget* parent) : QGroupBox(QStringLiteral("Бой"), parent) {
    setObjectName(QStringLiteral("frmFight"));
    setStyleSheet(Style());
    auto* root = new QVBoxLayout(this);

    auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    lblHeroName = label("lblHeroName");
    lblLife = label("lblLife");
    lblStrenght = label("lblStrenght");
    Weapon = label("Weapon");
    Shape3 = Track("Shape3", this);
    shapeLife = Bar("shapeLife", Shape3);
    lblEnemyName = label("lblEnemyName");
    EnemyLife = label("EnemyLife");
    Enemystr = label("Enemystr");
    EnemyWeapon = label("EnemyWeapon");
    enemyTrack = Track("enemyTrack", this);
    SHPEnemyLife = Bar("SHPEnemyLife", enemyTrack);

    // The hero on the left, the enemy on the right, line for line.
    auto* sides = new QGridLayout();
    int row = 0;
    for (auto pair : {std::pair<QWidget*, QWidget*>{lblHeroName, lblEnemyName}, {lblLife, EnemyLife},
                      {Shape3, enemyTrack}, {lblStrenght, Enemystr}, {Weapon, EnemyWeapon}}) {
        sides->addWidget(pair.first, row, 0);
        sides->addWidget(pair.second, row, 1);
        ++row;
    }
    sides->setHorizontalSpacing(16);
    root->addLayout(sides);

    lblFight = label("lblFight");
    lblFight->setWordWrap(true);
    lblFight->setMinimumHeight(lblFight->fontMetrics().height() * 2);
    root->addWidget(lblFight);

    auto* buttons = new QGridLayout();
    btnStrike = Button(QStringLiteral("Удар"), this);
    btnMage = Button(QStringLiteral("Проклятие"), this);
    cmdRun = Button(QStringLiteral("Бежать"), this);
    cmdAuto = Button(QStringLiteral("Авто"), this);
    buttons->addWidget(btnStrike, 0, 0);
    buttons->addWidget(btnMage, 0, 1);
    buttons->addWidget(cmdRun, 1, 0);
    buttons->addWidget(cmdAuto, 1, 1);
    root->addLayout(buttons);

    connect(btnStrike, &QPushButton::clicked, this, [this] { Act(&Strike); });
    connect(btnMage, &QPushButton::clicked, this, [this] { Act(&Curse); });
    connect(cmdRun, &QPushButton::clicked, this, [this] { Act(&Flee); });
    connect(cmdAuto, &QPushButton::clicked, this, [this] { Act(&FightAutomatically); });

    focusSerial_ = modVarsAndMain.gameScreen.fight.focusSerial;
    refresh();
}

void frmFight::Act(void (*rule)()) {
    // A failed flight pauses with the event loop running; a click then must not start a
    // second exchange inside the first.
    if (busy_) return;
    busy_ = true;
    rule();
    busy_ = false;
    refresh();
    emit acted();
}

void frmFight::refresh() {
    const bool on = FightOn();
    const auto& f = modVarsAndMain.gameScreen.fight;
    const auto& hero = modVarsAndMain.Player;
    lblHeroName->setText(hero ? Q(hero->PlayerName) : QString());
    lblLife->setText(Q(f.lblLife));
    lblStrenght->setText(Q(f.lblStrenght));
    Weapon->setText(Q(f.Weapon));
    lblEnemyName->setText(Q(f.lblEnemyName));
    EnemyLife->setText(Q(f.EnemyLife));
    Enemystr->setText(Q(f.Enemystr));
    EnemyWeapon->setText(Q(f.EnemyWeapon));
    lblFight->setText(Q(f.lblFight));
    SetBar(shapeLife, Shape3, f.lifeBar);
    SetBar(SHPEnemyLife, enemyTrack, f.enemyLifeBar);
    setVisible(on);
    if (f.focusSerial != focusSerial_) {
        focusSerial_ = f.focusSerial;
        if (on) btnStrike->setFocus();
    }
}

}  // namespace morvath::ui
