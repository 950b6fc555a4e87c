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

TEST(InventoryPicker, EnterOrADoubleClickPicksTheRowEscOrClosingPicksNone) {
    using Act = std::function<void(frmBookmarks&)>;
    const auto center = [](frmBookmarks& p) { return p.lstItems->visualItemRect(p.lstItems->item(0)).center(); };
    const std::tuple<Act, int, bool> cases[] = {
        {[](frmBookmarks& p) {
             // The first row that shows an item is ready, with its name, text and weight.
             EXPECT_EQ(std::tuple(p.lstItems->currentRow(), p.Lb1->text(), p.lblprop->text(), p.lblW->text(), p.lblMoney->text()),
                       std::tuple(1, QStringLiteral("Еда"), QStringLiteral("Зерно и Хлеб"), QStringLiteral("Вес: 0.5"),
                                  QStringLiteral("Монет:100")));
             QTest::keyClick(p.lstItems, Qt::Key_Down);
             QTest::keyClick(p.lstItems, Qt::Key_Return);
         }, 3, false},
        {[&](frmBookmarks& p) { QTest::mouseClick(p.lstItems->viewport(), Qt::LeftButton, {}, center(p)); QTest::mouseDClick(p.lstItems->viewport(), Qt::LeftButton, {}, center(p)); }, 1, false},
        {[](frmBookmarks& p) { QTest::keyClick(p.lstItems, Qt::Key_Escape); EXPECT_EQ(p.lstItems->count(), 0); }, 0, false},
        {[](frmBookmarks& p) { QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(3, 3)); }, 0, false},
        {[](frmBookmarks& p) { p.close(); }, 0, false},
        // No selected row: nothing picked, and the picker stays open.
        {[](frmBookmarks& p) { p.lstItems->clearSelection(); QTest::keyClick(p.lstItems, Qt::Key_Return); }, 0, true},
    };
    for (const auto& [act, picked, staysOpen] : cases) {
        // The picker must be closed by the time the player is done, unless it stays open.
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<frmBookmarks*>(QApplication::activeModalWidget());
            ASSERT_TRUE(picker);
            picker->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(picker));
            act(*picker);
            EXPECT_EQ(picker->isVisible(), staysOpen);
            if (picker->isVisible()) picker->reject();
        });
        EXPECT_EQ(frmBookmarks::Ask(kContent), picked);
    }
}

}  // namespace
