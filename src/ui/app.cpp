#include "ui/app.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

#include "platform/frontend.h"
#include "platform/random.h"
#include "ui/menu.h"
#include "ui/qt_frontend.h"
#include "world/game_state.h"

namespace morvath::ui {

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    SetFrontend(&TheQtFrontend());
    Randomize();

    if (AnotherInstanceRunning()) {
        UI().MsgBox(L"Игра уже запущена!", MsgButtons::Ok, MsgIcon::Critical, L"Morvath");
        return 0;
    }

    auto* menu = new frmMenu();
    QObject::connect(menu, &frmMenu::newGameRequested, menu, [menu] {
        menu->frmNewChar->show();
        menu->Command5->setFocus();
    });
    // A visit to the hall of fame from the menu records nothing; the menu waits hidden.
    TheQtFrontend().onBackToMenu = [guard = QPointer<frmMenu>(menu)] {
        if (guard) guard->show();
    };
    QObject::connect(menu, &frmMenu::hallOfFameRequested, menu, [menu] {
        modVarsAndMain.hallOfFame.writehf = false;
        UI().ShowHallOfFame(false);
        menu->hide();
    });
    QObject::connect(menu, &frmMenu::aboutRequested, menu, [menu] {
        menu->Frame2->show();
        menu->Frame1->hide();
    });
    QObject::connect(menu, &frmMenu::aboutClosed, menu, [menu] {
        menu->Frame2->hide();
        menu->Frame1->show();
    });
    menu->show();
    return app.exec();
}

}  // namespace morvath::ui
