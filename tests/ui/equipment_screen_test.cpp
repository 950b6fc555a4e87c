// The equipment screen in a real (offscreen) window: slots clicked and keys pressed.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "../core/test_support.h"
#include "game/worn_items.h"
#include "ui/equipment_screen.h"

using namespace morvath;
using morvath::ui::frmEquip;

namespace {

using EquipmentScreen = GameTest;

TEST_F(EquipmentScreen, AClickOrALetterPutsOnAndTakesOffAndEscCloses) {
    auto shirt = modVarsAndMain.Inventory->Add();
    std::tie(shirt->ItemName, shirt->ItemType, shirt->DefendPlus) = std::tuple(L"Льняная рубаха", kBody, 1);
    REFRESHAtt();
    bool acted = false;
    QTimer::singleShot(0, [&] {
        auto* screen = qobject_cast<frmEquip*>(QApplication::activeModalWidget());
        ASSERT_TRUE(screen);
        acted = true;
        screen->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(screen));
        ui.pickAnswers = {1};
        QTest::mouseClick(screen->slotLabel[kSlotBody], Qt::LeftButton);
        EXPECT_EQ(std::pair(screen->slotLabel[kSlotBody]->text(), screen->lblValues->text().contains(QStringLiteral("Защита: 1"))),
                  std::pair(QStringLiteral("Тело[E]:Льняная рубаха[0,1]"), true));
        QTest::keyClick(screen, Qt::Key_E);
        EXPECT_EQ(std::tuple(screen->slotLabel[kSlotBody]->text(), modVarsAndMain.Inventory->Count()), std::tuple(QStringLiteral("Тело[E]:[0,0]"), 1L));
        QTest::keyClick(screen, Qt::Key_Escape);
        EXPECT_FALSE(screen->isVisible());
        if (screen->isVisible()) screen->reject();
    });
    frmEquip::Open();
    EXPECT_TRUE(acted);
}

}  // namespace
