#pragma once
// The inventory picker: the list of carried items the rules fill. It opens with no row chosen;
// a double click or Enter on a chosen row picks it; Esc, a click beside the list or the
// window's close box picks nothing. A single click or the arrow keys choose a row and show
// the item's name, description and weight.
#include <QDialog>

#include "platform/frontend.h"

class QLabel;
class QListWidget;

namespace morvath::ui {

class frmBookmarks : public QDialog {
    Q_OBJECT

public:
    explicit frmBookmarks(QWidget* parent = nullptr);

    // Shows the picker modally; the 1-based row picked, 0 for none. This is what the Qt
    // front end's PickItem() calls.
    static int Ask(const PickerContent& content, QWidget* parent = nullptr);

    void Fill(const PickerContent& content);
    int PickedRow() const { return picked_; }

    QListWidget* lstItems;
    QLabel* Lb1;       // the selected item's name
    QLabel* lblprop;   // its description
    QLabel* lblW;      // its weight
    QLabel* lblMoney;
    QLabel* Label4;    // how to pick

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The row chosen, -1 for none: the list's cursor alone chooses nothing.
    int SelectedRow() const;
    void ShowSelected();
    void PickSelected();
    QLabel* heading_;
    PickerContent content_;
    int picked_ = 0;
};

}  // namespace morvath::ui
