#pragma once
// The equipment screen: the hero's figure with the six slots around it (each with the
// picture of what it holds), and the hero's values. A click on a slot or its key (A..F)
// puts an item on or takes it off; Esc closes the screen; a double click closes it after
// working out the hero's magic anew. The rules are the core's (game/worn_items.h).
#include <QDialog>
#include <array>

class QLabel;

namespace morvath::ui {

class frmEquip : public QDialog {
    Q_OBJECT

public:
    explicit frmEquip(QWidget* parent = nullptr);

    // Shows the screen modally until the rules close it.
    static void Open(QWidget* parent = nullptr);
    // Shows the slots and the hero's values as the game state holds them.
    void Refresh();

    std::array<QLabel*, 6> slotLabel;    // lblHead, lblNeck, lblRightHand, lblLeftHand, lblBody, lblBoots
    std::array<QLabel*, 6> slotPicture;
    QLabel* Image1;
    QLabel* lblValues;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Toggle(int slot);
};

}  // namespace morvath::ui
