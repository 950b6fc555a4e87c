#pragma once
// The fight panel of the game screen. It shows what the fight rules left in
// modVarsAndMain.fight (both sides' names, hit points, strength, weapons and life bars, and
// the last exchange) and hands its four buttons to those rules. It hides itself while no
// fight is on.
//
// The game screen embeds it like any widget and calls refresh() whenever it redraws, since
// keys, spells and scripts may start, change or end a fight.
#include <QGroupBox>

class QFrame;
class QLabel;
class QPushButton;

namespace morvath::ui {

class frmFight : public QGroupBox {
    Q_OBJECT
public:
    explicit frmFight(QWidget* parent = nullptr);

    // Re-reads the fight state: texts, bars, and whether the panel shows at all. The strike
    // button takes the keyboard when the rules ask for it (a fight starts, the enemy struck).
    void refresh();

    // Width of the full life bar, in pixels; both bars are drawn against it.
    static constexpr int kBarWidth = 110;

    QLabel* lblHeroName;
    QLabel* lblLife;
    QLabel* lblStrenght;
    QLabel* Weapon;
    QFrame* Shape3;        // the hero's full-width bar, the measure of both
    QFrame* shapeLife;
    QLabel* lblEnemyName;
    QLabel* EnemyLife;
    QLabel* Enemystr;
    QLabel* EnemyWeapon;
    QFrame* enemyTrack;
    QFrame* SHPEnemyLife;
    QLabel* lblFight;
    QPushButton* btnStrike;
    QPushButton* btnMage;
    QPushButton* cmdRun;
    QPushButton* cmdAuto;

signals:
    // A button's exchange is over: the screen should redraw the view, the status line and
    // the speech box (characters moved, the hero was hurt, a fight ended).
    void acted();

private:
    void Act(void (*rule)());
    unsigned focusSerial_ = 0;
    bool busy_ = false;
};

}  // namespace morvath::ui
