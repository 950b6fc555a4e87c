#include "ui/equipment_screen.h"

#include <QEvent>
#include <QGridLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>

#include "game/worn_items.h"
#include "platform/files.h"
#include "ui/keys.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"
#include "world/game_state.h"

namespace morvath::ui {
namespace {

constexpr int kIcon = 64;  // a 32 x 32 picture shown twice its size

const char* const kSlotNames[] = {"lblHead", "lblNeck", "lblRightHand", "lblLeftHand", "lblBody", "lblBoots"};

// The picture of what a slot holds: by the slot, and in the hands by the kind of item.
QString PictureOf(int slot) {
    const auto& row = modVarsAndMain.Equip[static_cast<std::size_t>(slot)];
    if (row[kEqName].ToText().empty()) return {};
    switch (slot) {
        case kSlotHead: return QStringLiteral("eq_head.bmp");
        case kSlotNeck: return QStringLiteral("eq_neck.bmp");
        case kSlotBody: {
            // Everything worn on the body is of one kind; what it is made of shows in how
            // well it guards: cloth (a robe, a habit, a shirt) not at all, quilting or
            // leather a little, rings or plates more.
            const double defence = row[kEqDefendPlus].ToNumber();
            if (defence <= 0) return QStringLiteral("eq_robe.bmp");
            return defence < 3 ? QStringLiteral("eq_jerkin.bmp") : QStringLiteral("eq_body.bmp");
        }
        case kSlotLegs: return QStringLiteral("eq_legs.bmp");
        default: break;
    }
    switch (static_cast<int>(row[kEqType].ToNumber())) {
        case kWeapon: case kBow: case kArrows: return QStringLiteral("eq_weapon.bmp");
        case kShield: return QStringLiteral("eq_shield.bmp");
        default: return QStringLiteral("eq_thing.bmp");
    }
}

QPixmap LoadPicture(const QString& file, int size) {
    QImage image;
    const fs::path path = GamePath(L"\\Images\\ui\\" + file.toStdWString());
    if (!image.load(QString::fromStdString(path.string()))) return {};
    return QPixmap::fromImage(image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

QString Value(double v) { return Q(NumText(std::round(v * 100) / 100)); }

}  // namespace

frmEquip::frmEquip(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmEquip"));
    setWindowTitle(QStringLiteral("Снаряжение"));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    // The title again inside the window, wherever the window manager puts its own.
    auto* heading = new QLabel(windowTitle(), this);
    heading->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 15px; color: #eec39a;"));
    outer->addWidget(heading);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(132, 132);  // four times the 32-pixel portrait, inside its border
    Image1->setStyleSheet(QStringLiteral("border: 2px solid #8f563b;"));
    Image1->setAlignment(Qt::AlignCenter);

    for (int s = 0; s < 6; ++s) {
        slotPicture[s] = new QLabel(this);
        slotPicture[s]->setFixedSize(kIcon + 4, kIcon + 4);
        slotPicture[s]->setAlignment(Qt::AlignCenter);
        slotPicture[s]->setStyleSheet(QStringLiteral("background: #45283c; border: 2px solid #8f563b;"));
        slotPicture[s]->setCursor(Qt::PointingHandCursor);
        slotPicture[s]->installEventFilter(this);
        slotLabel[s] = new QLabel(this);
        slotLabel[s]->setObjectName(QString::fromLatin1(kSlotNames[s]));
        slotLabel[s]->setMinimumWidth(230);
        slotLabel[s]->setWordWrap(true);
        slotLabel[s]->setCursor(Qt::PointingHandCursor);
        slotLabel[s]->installEventFilter(this);
    }
    // The head and neck above the figure's shoulders, the hands beside it, body and legs
    // below: left column slots 0, 2, 4; right column 1, 3, 5.
    for (int s = 0; s < 6; ++s) {
        const int row = s / 2;
        const bool left = s % 2 == 0;
        grid->addWidget(slotPicture[s], row, left ? 1 : 3);
        grid->addWidget(slotLabel[s], row, left ? 0 : 4, left ? Qt::AlignRight : Qt::AlignLeft);
        slotLabel[s]->setAlignment((left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    grid->addWidget(Image1, 0, 2, 3, 1, Qt::AlignCenter);

    lblValues = new QLabel(this);
    lblValues->setObjectName(QStringLiteral("lblValues"));
    lblValues->setStyleSheet(QStringLiteral("background: #45283c; border: 1px solid #8f563b; padding: 6px;"));
    outer->addWidget(lblValues);

    auto* hint = new QLabel(QStringLiteral("A..F или щелчок по месту - надеть или снять;  Esc - закрыть"), this);
    hint->setStyleSheet(QStringLiteral("color: #9badb7;"));
    outer->addWidget(hint);
    setFocusPolicy(Qt::StrongFocus);
    Refresh();
}

void frmEquip::Open(QWidget* parent) {
    frmEquip dialog(parent);
    dialog.exec();
}

void frmEquip::Refresh() {
    const auto& g = modVarsAndMain;
    // The figure is the hero himself: his person's portrait, the one the game screen shows.
    Image1->setPixmap(QPixmap::fromImage(
        Pictures().Get(g.gameScreen.hero.portrait).scaled(128, 128, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    for (int s = 0; s < 6; ++s) {
        slotLabel[s]->setText(Q(g.gameScreen.equip.captions[static_cast<std::size_t>(s)]));
        const QString file = PictureOf(s);
        slotPicture[s]->setProperty("picture", file);
        slotPicture[s]->setPixmap(file.isEmpty() ? QPixmap() : LoadPicture(file, kIcon));
    }
    if (!g.Player) return;
    const MainCharacter& p = *g.Player;
    lblValues->setText(QStringLiteral("Удар: %1    Защита: %2    Крит.: %3\n"
                                      "Сила: %4    Ловкость: %5    Магия: %6    Воля: %7    Обаяние: %8    Удача: %9\n"
                                      "Вес: %10 из %11")
                           .arg(Value(p.Weapon), Value(p.Defence), Value(p.Critical), Value(p.Strenght),
                                Value(p.Mobility), Value(p.Magic), Value(p.WillPower), Value(p.Appearance),
                                Value(p.Luck))
                           .arg(Value(p.Weight), Value(p.MaxWeight)));
}

void frmEquip::Toggle(int slot) {
    ToggleSlot(slot);
    Refresh();
}

bool frmEquip::eventFilter(QObject* watched, QEvent* event) {
    // A quick second click on a slot is another click on it, not the double click on the
    // screen that closes it.
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int s = 0; s < 6; ++s) {
            if (watched == slotLabel[s] || watched == slotPicture[s]) return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int s = 0; s < 6; ++s) {
            if (watched == slotLabel[s] || watched == slotPicture[s]) {
                Toggle(s);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmEquip::keyPressEvent(QKeyEvent* event) {
    const int code = KeyCodeOf(*event);
    if (code == 0) return;
    const bool closes = EquipScreenKey(code);
    Refresh();
    if (closes) accept();
}

void frmEquip::mouseDoubleClickEvent(QMouseEvent* event) {
    CloseEquipScreenWithMagic();
    event->accept();
    accept();
}

}  // namespace morvath::ui
