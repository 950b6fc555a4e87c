#pragma once
// The game screen: the view around the hero, the info and status lines, the portrait, the
// speech box and the panels of fights, spells and skills. It shows modVarsAndMain and hands
// every key press, once, to the core's key map as a Windows virtual-key code.
#include <QWidget>
#include <array>

#include "world/view.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace morvath::ui {

class frmFight;

// The view at its own size, 320 x 320, each picture at its own size from its cell's corner.
QImage RenderView(const View& view);

// The 10 x 10 cell view, scaled by a whole factor (each picture pixel a square of screen
// pixels, never smoothed).
class ViewWidget : public QWidget {
    Q_OBJECT
public:
    explicit ViewWidget(QWidget* parent = nullptr);
    void SetScale(int scale);
    int Scale() const { return scale_; }
    QSize sizeHint() const override;
    // The view at its own size, 320 x 320, as the pictures lie on it.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int scale_ = 1;
};

class frmGame : public QWidget {
    Q_OBJECT
public:
    frmGame();
    ~frmGame() override;

    // Shows the state of the game: texts, panels, the portrait and the view.
    void Refresh();
    // The whole factor the view is drawn at, for a screen of that size (logical pixels).
    static int ScaleFor(const QSize& available);
    // The largest whole factor at which the view and its labels fit a window of that size.
    int ScaleForWindow(const QSize& size) const;

    ViewWidget* pic;
    QLabel* lblII;
    QLabel* lblInfo;
    QLabel* imgPlayer;
    QGroupBox* frmSpeech;
    QPlainTextEdit* txtSpeech;
    ui::frmFight* frmFight;  // the fight panel, with its own labels, bars and buttons
    QGroupBox* frmSpells;
    std::array<QRadioButton*, 6> lblS;
    QListWidget* lstAttribs;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs a command of the core, then shows what it changed.
    template <typename F>
    void Run(F&& command);
    bool KeyPress(QObject* watched, QKeyEvent* key);
    void Watch(QWidget* w);

    unsigned speechSerial_ = 0;
    unsigned spellSerial_ = 0;
    unsigned skillSerial_ = 0;
    unsigned shownSerial_ = 0;  // the view's draw that the last redraw showed
    bool refreshing_ = false;
};

// Creates the game screen on first use and shows it for the current game: the app calls this
// once a new game has started or a saved one is loaded.
frmGame& ShowGameScreen();
// The game screen if it exists.
frmGame* GameScreen();
// Moves a dialog about to open over the game screen to where it covers neither the hero nor
// the one he deals with; elsewhere (over another dialog, with no game on show) it opens
// where it would.
void PlaceBesideTheHero(QWidget& dialog);

}  // namespace morvath::ui
