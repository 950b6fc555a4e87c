#include "ui/app.h"

#include <QApplication>
#include <QMainWindow>

namespace morvath::ui {

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle("Morvath");
    w.show();
    return app.exec();
}

}  // namespace morvath::ui
