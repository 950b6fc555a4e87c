// The equipment screen in a real (offscreen) window: slots clicked and keys pressed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "game/worn_items.h"
#include "platform/frontend.h"
#include "ui/equipment_screen.h"
#include "world/game_state.h"

using namespace morvath;
using morvath::ui::frmEquip;

namespace {

TEST(EquipmentScreen, AClickOrALetterPutsOnAndTakesOffAndEscCloses) {
    ResetGame();
    modVarsAndMain.CreateRoots();
    ScriptedFrontend front;
    auto shirt = modVarsAndMain.Inventory->Add();
    shirt->ItemName = L"Льняная рубаха";
    shirt->ItemType = kBody;
    shirt->DefendPlus = 1;
    REFRESHAtt();
    bool acted = false;
    QTimer::singleShot(0, [&] {
        auto* screen = qobject_cast<frmEquip*>(QApplication::activeModalWidget());
        ASSERT_TRUE(screen);
        acted = true;
        screen->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(screen));
        front.pickAnswers = {1};
        QTest::mouseClick(screen->slotLabel[kSlotBody], Qt::LeftButton);
        EXPECT_EQ(screen->slotLabel[kSlotBody]->text(), QStringLiteral("Тело[E]:Льняная рубаха[0,1]"));
        EXPECT_TRUE(screen->lblValues->text().contains(QStringLiteral("Защита: 1")));
        QTest::keyClick(screen, Qt::Key_E);
        EXPECT_EQ(screen->slotLabel[kSlotBody]->text(), QStringLiteral("Тело[E]:[0,0]"));
        EXPECT_EQ(modVarsAndMain.Inventory->Count(), 1);
        QTest::keyClick(screen, Qt::Key_Escape);
        EXPECT_FALSE(screen->isVisible());
        if (screen->isVisible()) screen->reject();
    });
    frmEquip::Open();
    EXPECT_TRUE(acted);
}

}  // namespace
