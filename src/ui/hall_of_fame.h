#pragma once
// The hall-of-fame window: the list of every finished run. At the end of a run it records
// the run, offers the deeds file, and closing it ends the program; opened from the start
// menu it only lists, and closing it goes back to the menu. The rules are in
// game/hall_of_fame.h.
#include <QDialog>
#include <functional>

#include "game/hall_of_fame.h"

class QListWidget;

namespace morvath::ui {

class frmHallOfFame : public QDialog {
    Q_OBJECT
public:
    explicit frmHallOfFame(QWidget* parent = nullptr);

    // Records the run that has ended (if any), fills the list and starts the tune.
    void Form_Load();
    // Every way of closing the window ends here: Esc, the close box, done().
    void done(int r) override;

    QListWidget* List1;
    // Ends the program once the window of an ended run closes (the front end's EndProgram).
    std::function<void()> endProgram;

signals:
    // Closed after browsing from the start menu.
    void backToMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HallOfFame hof_;
    bool unloaded_ = false;
};

// Opens the window: modal waits until it closes. backToMenu runs when a browsing visit ends.
void ShowHallOfFameWindow(bool modal, const std::function<void()>& backToMenu);

}  // namespace morvath::ui
