#include "ui/app.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "game/game_rules.h"
#include "game/new_game.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "services/music.h"
#include "services/text_scroll.h"
#include "ui/game_screen.h"
#include "ui/menu.h"
#include "ui/qt_frontend.h"
#include "ui/qt_text.h"
#include "ui/text_scroll.h"
#include "ui/theme.h"
#include "world/game_state.h"
#include "world/save_set.h"

namespace morvath::ui {
namespace {

// A new game and a loaded one open the same window: the settings give the screen's size; it
// opens no smaller than its view at the start-up scale and its panels need, and never grows
// beyond the desktop it opens on.
void OpenGameWindow() {
    int width = 0, height = 0;
    GameScreenSize(width, height);
    frmGame& screen = ShowGameScreen();
    QSize size = QSize(width, height).expandedTo(screen.sizeHint());
    if (QScreen* desk = screen.screen()) size = size.boundedTo(desk->availableGeometry().size());
    screen.resize(size);
}

// The menu's actions: each button hands its work to the core and shows the outcome.
class MenuController : public QObject {
public:
    explicit MenuController(frmMenu* menu) : menu_(menu) {
        connect(menu, &frmMenu::newGameRequested, this, [this] { Command1_Click(); });
        connect(menu, &frmMenu::startRequested, this, [this] { Command5_Click(); });
        connect(menu, &frmMenu::loadGameRequested, this, [this] { Command2_Click(); });
        connect(menu, &frmMenu::hallOfFameRequested, this, [this] { Command3_Click(); });
        connect(menu, &frmMenu::aboutRequested, this, [this] { Command6_Click(); });
        connect(menu, &frmMenu::aboutClosed, this, [this] { Command7_Click(); });
        connect(menu, &frmMenu::personChanged, this, [this](int) { ProposeName(); });
        menu->lstPersons->setCurrentRow(0);
    }

private:
    void ProposeName() {
        if (!menu_) return;
        menu_->txtName->setText(Q(PickRandomName(std::max(0, menu_->lstPersons->currentRow())))); }

    void Command1_Click() {
        menu_->lstPersons->setCurrentRow(0);
        ProposeName();
        menu_->frmNewChar->show();
        menu_->Command5->setFocus();
    }

    void Command5_Click() {
        int person = std::max(0, menu_->lstPersons->currentRow());
        if (!CreateCharacter(person, W(menu_->txtName->text()), menu_->chkSL->isChecked())) return;
        menu_->frmNewChar->hide();
        menu_->Frame1->hide();
        menu_->Frame2->hide();
        menu_->frmStarting->show();
        StartHooks hooks;
        hooks.progress = [this](const std::wstring& caption, int percent) { menu_->ShowProgress(percent, Q(caption)); };
        hooks.hideMenu = [this] { menu_->hide(); };
        hooks.showGameScreen = OpenGameWindow;
        if (!InitGame(hooks)) {
            // The world could not be entered: back to the menu, nothing half-started.
            menu_->frmStarting->hide();
            menu_->Frame1->show();
            menu_->show();
            return;
        }
        menu_->deleteLater();
    }

    void Command2_Click() {
        if (!LoadSavedGame()) return;
        OpenGameWindow();
        menu_->hide();
        menu_->deleteLater();
    }

    void Command3_Click() {
        // A visit to the hall of fame from the menu records nothing; the menu waits hidden
        // and comes back when the hall of fame closes.
        modVarsAndMain.hallOfFame.writehf = false;
        TheQtFrontend().onBackToMenu = [guard = QPointer<frmMenu>(menu_)] {
            if (guard) guard->show();
        };
        UI().ShowHallOfFame(false);
        menu_->hide();
    }

    void Command6_Click() {
        menu_->Frame2->show();
        menu_->Frame1->hide();
        menu_->Command7->setFocus();
        modMusicEngine::MidiClose();
        modMusicEngine::MusicName = L"\\music\\final.mid";
        menu_->slpTextScroll1->SetText(Q(BuildCreditsText()));
        menu_->slpTextScroll1->StartScroll();
        modMusicEngine::PlayMusic();
    }

    void Command7_Click() {
        menu_->slpTextScroll1->StopScroll();
        menu_->Frame2->hide();
        menu_->Frame1->show();
        menu_->Command6->setFocus();
        modMusicEngine::MidiClose();
    }

    // The menu is unloaded once a game starts; the controller outlives it.
    QPointer<frmMenu> menu_;
};

}  // namespace

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    app.setStyleSheet(GameStyleSheet());
    SetFrontend(&TheQtFrontend());
    InstallGameRules();
    Randomize();

    if (AnotherInstanceRunning()) {
        UI().MsgBox(L"Игра уже запущена!", MsgButtons::Ok, MsgIcon::Critical, L"Morvath");
        return 0;
    }
    // Alone now: what a crash cut short can be finished or dropped without racing anyone.
    FinishInterruptedWrites();

    auto* menu = new frmMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    MenuController controller(menu);
    menu->show();
    const int code = app.exec();
    // A run that ended in the hall of fame left its screen hidden, not deleted.
    delete GameScreen();
    return code;
}

}  // namespace morvath::ui
