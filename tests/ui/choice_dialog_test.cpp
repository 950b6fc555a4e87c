// The choice dialog in a real (offscreen) window: keys and mouse as the player uses them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "platform/frontend.h"
#include "ui/choice_dialog.h"

using morvath::kChoiceSkipped;
using morvath::ui::frmS;

namespace {

QString Shown(const frmS& d) {
    return QStringList{d.lbltxt->text(), d.lblA[0]->text(), d.lblA[1]->text(), d.lblA[2]->isVisible() ? d.lblA[2]->text() : QStringLiteral("-"),
                       d.Label1->text()}
        .join(u'|');
}

// An empty third option is hidden, and comes back the next time.
TEST(ChoiceDialog, KeysAndMouseAnswerOrSkipAndAnEmptyOptionIsHidden) {
    using Options = std::array<std::wstring, 3>;
    const Options three = {L"Север", L"Юг", L"Запад"};
    const std::tuple<Options, std::function<void(frmS&)>, int> cases[] = {
        {{L"Да", L"Нет", L""}, [](frmS& d) {
             EXPECT_EQ(Shown(d), QStringLiteral("Куда идти?|Да|Нет|-|Пропустить"));
             QTest::keyClick(d.lblA[0], Qt::Key_Down);
             EXPECT_TRUE(d.lblA[1]->isChecked());
             QTest::keyClick(d.lblA[1], Qt::Key_Up);
             EXPECT_TRUE(d.lblA[0]->isChecked());
             d.reject();
         }, kChoiceSkipped},
        {three, [](frmS& d) {
             EXPECT_EQ(Shown(d), QStringLiteral("Куда идти?|Север|Юг|Запад|Пропустить"));
             QTest::keyClick(d.lblA[0], Qt::Key_Down);
             EXPECT_TRUE(d.lblA[1]->hasFocus() && d.lblA[1]->isChecked());
             QTest::keyClick(d.lblA[1], Qt::Key_Return);
         }, 1},
        {three, [](frmS& d) { QTest::keyClick(d.lblA[2], Qt::Key_Escape); }, kChoiceSkipped},
        {three, [](frmS& d) {
             // Other keys and a single click do not answer.
             QTest::keyClick(d.lblA[0], Qt::Key_A);
             QTest::mouseClick(d.lblA[2], Qt::LeftButton);
             EXPECT_TRUE(d.isVisible() && d.lblA[2]->isChecked());
             QTest::keyClick(d.lblA[2], Qt::Key_Enter);
         }, 2},
        {three, [](frmS& d) { QTest::mouseDClick(d.lblA[2], Qt::LeftButton); }, 2},
        {three, [](frmS& d) { QTest::mouseClick(d.Label1, Qt::LeftButton); }, kChoiceSkipped},
        {three, [](frmS& d) { d.close(); }, kChoiceSkipped}};
    for (const auto& [options, player, answer] : cases) {
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmS*>(QApplication::activeModalWidget());
            ASSERT_TRUE(d);
            // Arrow keys move the focus only inside the active window.
            d->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            player(*d);
            // Whatever the player did, never leave the test hanging in the modal loop.
            if (d->isVisible()) ADD_FAILURE() << "dialog still open", d->reject();
        });
        EXPECT_EQ(frmS::Ask(L"Куда идти?", options), answer);
    }
}

}  // namespace
