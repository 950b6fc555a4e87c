// The inventory picker in a real (offscreen) window: what picks a row and what picks none.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include "ui/inventory_picker.h"

using morvath::PickerContent;
using morvath::ui::frmBookmarks;

namespace {

const PickerContent kContent = {L"Инвентарь...", L"Монет:100",
                                {{L"...", L"", L"", L""},
                                 {L"Еда  (2шт.)", L"Еда", L"Зерно и Хлеб", L"Вес: 0.5"},
                                 {L"Кинжал[5,0] (70%)  (1шт.)", L"Кинжал", L"Клинок", L"Вес: 0.5"}}};

// Opens the picker modally and lets `player` act once it is up; the picker must be closed
// by then unless `staysOpen`.
int PickAndAct(std::function<void(frmBookmarks&)> player, bool staysOpen = false) {
    QTimer::singleShot(0, [&] {
        auto* picker = qobject_cast<frmBookmarks*>(QApplication::activeModalWidget());
        if (!picker) {
            ADD_FAILURE() << "no modal picker";
            return;
        }
        picker->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(picker));
        player(*picker);
        EXPECT_EQ(picker->isVisible(), staysOpen);
        if (picker->isVisible()) picker->reject();
    });
    return frmBookmarks::Ask(kContent);
}

TEST(InventoryPicker, EnterOrADoubleClickPicksTheRow) {
    EXPECT_EQ(PickAndAct([](frmBookmarks& p) {
                  // The first row that shows an item is ready, with its name, text and weight.
                  EXPECT_EQ(p.lstItems->currentRow(), 1);
                  EXPECT_EQ(p.Lb1->text(), QStringLiteral("Еда"));
                  EXPECT_EQ(p.lblprop->text(), QStringLiteral("Зерно и Хлеб"));
                  EXPECT_EQ(p.lblW->text(), QStringLiteral("Вес: 0.5"));
                  EXPECT_EQ(p.lblMoney->text(), QStringLiteral("Монет:100"));
                  QTest::keyClick(p.lstItems, Qt::Key_Down);
                  QTest::keyClick(p.lstItems, Qt::Key_Return);
              }),
              3);
    EXPECT_EQ(PickAndAct([](frmBookmarks& p) {
                  const QRect r = p.lstItems->visualItemRect(p.lstItems->item(0));
                  QTest::mouseClick(p.lstItems->viewport(), Qt::LeftButton, {}, r.center());
                  QTest::mouseDClick(p.lstItems->viewport(), Qt::LeftButton, {}, r.center());
              }),
              1);
}

TEST(InventoryPicker, EscAClickBesideTheListOrTheCloseBoxPickNothing) {
    EXPECT_EQ(PickAndAct([](frmBookmarks& p) {
                  QTest::keyClick(p.lstItems, Qt::Key_Escape);
                  EXPECT_EQ(p.lstItems->count(), 0);
              }),
              0);
    EXPECT_EQ(PickAndAct([](frmBookmarks& p) { QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(3, 3)); }), 0);
    EXPECT_EQ(PickAndAct([](frmBookmarks& p) { p.close(); }), 0);
    EXPECT_EQ(PickAndAct([](frmBookmarks& p) { QTest::keyClick(&p, Qt::Key_Escape); }), 0);
}

TEST(InventoryPicker, NoSelectedRowPicksNothingAndStaysOpen) {
    EXPECT_EQ(PickAndAct(
                  [](frmBookmarks& p) {
                      p.lstItems->clearSelection();
                      QTest::keyClick(p.lstItems, Qt::Key_Return);
                  },
                  true),
              0);
}

}  // namespace
