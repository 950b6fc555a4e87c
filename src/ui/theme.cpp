#include "ui/theme.h"

namespace morvath::ui {

QString GameStyleSheet() {
    return QStringLiteral(
        "QWidget#frmMenu, QWidget#frmGame, QDialog, QMessageBox, QInputDialog { background: #222034; }"
        "QGroupBox { color: #eec39a; border: 2px solid #8f563b; border-radius: 4px; margin-top: 14px;"
        "  padding: 8px; font-weight: bold; background: #45283c; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }"
        "QLabel, QCheckBox, QRadioButton { color: #eec39a; }"
        "QPushButton { background: #663931; color: #fbf236; border: 1px solid #d9a066; padding: 5px 12px; }"
        "QPushButton:focus, QPushButton:hover { background: #8f563b; }"
        "QPushButton:disabled { color: #847e87; border-color: #595652; }"
        "QLineEdit, QListWidget, QPlainTextEdit { background: #eec39a; color: #222034;"
        "  selection-background-color: #8f563b; selection-color: #fbf236; border: 1px solid #8f563b; }");
}

}  // namespace morvath::ui
