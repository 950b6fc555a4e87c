#pragma once
// The start menu: the first window of the process. Four panels: the main menu, the new
// character, the start-up progress and the About panel.
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QFrame;

namespace morvath::ui {

class TextScrollWidget;

class frmMenu : public QWidget {
    Q_OBJECT
public:
    frmMenu();

    // Panels and controls, named as the game's rules name them.
    QGroupBox* Frame1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command6;
    QPushButton* Command4;

    QGroupBox* frmNewChar;
    QLabel* Label3;
    QLineEdit* txtName;
    QLabel* Label4;
    QListWidget* lstPersons;
    QCheckBox* chkSL;
    QLabel* Label5;
    QPushButton* Command5;

    QGroupBox* frmStarting;
    QLabel* lblStatus;
    QFrame* picProgreso;
    QFrame* shaProgreso;
    QLabel* lblPorc;
    QLabel* lblAction;

    QGroupBox* Frame2;
    TextScrollWidget* slpTextScroll1;
    QPushButton* Command7;

    // Shows the progress bar at a percentage with a stage caption.
    void ShowProgress(int percent, const QString& caption);
    // The percentage the bar shows, read back from its width.
    int GetProgress() const;

signals:
    void newGameRequested();
    void loadGameRequested();
    void hallOfFameRequested();
    void startRequested();
    void aboutRequested();
    void aboutClosed();
    // A person was chosen: another row, the same row clicked again, or a key in the list.
    void personChanged(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command4_Click();
};

// True when another copy of the game already runs; the first caller keeps the lock until the
// process ends (the lock file goes with it) or gives it up.
bool AnotherInstanceRunning();
void ReleaseInstanceLock();
// The lock file of this game folder.
QString InstanceLockPath();

}  // namespace morvath::ui
