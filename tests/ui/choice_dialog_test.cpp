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

const std::array<std::wstring, 3> kThree = {L"Север", L"Юг", L"Запад"};

// Opens the dialog modally and lets `player` act on it once it is up.
int AskAndAct(const std::array<std::wstring, 3>& options, std::function<void(frmS&)> player) {
    bool acted = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmS*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal choice dialog";
            return;
        }
        acted = true;
        // Arrow keys move the focus only inside the active window.
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        player(*dialog);
        // Whatever the player did, never leave the test hanging in the modal loop.
        if (dialog->isVisible()) QTimer::singleShot(0, dialog, [dialog] {
            ADD_FAILURE() << "dialog still open";
            dialog->reject();
        });
    });
    int r = frmS::Ask(L"Куда идти?", options);
    EXPECT_TRUE(acted);
    return r;
}

TEST(ChoiceDialog, ShowsTheQuestionAndOptions) {
    AskAndAct(kThree, [](frmS& d) {
        EXPECT_EQ(d.lbltxt->text(), QStringLiteral("Куда идти?"));
        EXPECT_EQ(d.lblA[0]->text(), QStringLiteral("Север"));
        EXPECT_EQ(d.lblA[2]->text(), QStringLiteral("Запад"));
        EXPECT_TRUE(d.lblA[2]->isVisible());
        EXPECT_EQ(d.Label1->text(), QStringLiteral("Пропустить"));
        d.reject();
    });
}

TEST(ChoiceDialog, ArrowsMoveTheSelectionAndEnterTakesIt) {
    int r = AskAndAct(kThree, [](frmS& d) {
        QTest::keyClick(d.lblA[0], Qt::Key_Down);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.lblA[1]->hasFocus());
        EXPECT_TRUE(d.lblA[1]->isChecked());
        QTest::keyClick(d.lblA[1], Qt::Key_Return);
    });
    EXPECT_EQ(r, 1);
}

TEST(ChoiceDialog, KeysAndMouseAnswerOrSkip) {
    const std::pair<std::function<void(frmS&)>, int> players[] = {
        {[](frmS& d) { QTest::keyClick(d.lblA[2], Qt::Key_Escape); }, kChoiceSkipped},
        {[](frmS& d) {
             // Other keys and a single click do not answer.
             QTest::keyClick(d.lblA[0], Qt::Key_A);
             QTest::mouseClick(d.lblA[2], Qt::LeftButton);
             EXPECT_TRUE(d.isVisible());
             EXPECT_TRUE(d.lblA[2]->isChecked());
             QTest::keyClick(d.lblA[2], Qt::Key_Enter);
         },
         2},
        {[](frmS& d) { QTest::mouseDClick(d.lblA[2], Qt::LeftButton); }, 2},
        {[](frmS& d) { QTest::mouseClick(d.Label1, Qt::LeftButton); }, kChoiceSkipped},
        {[](frmS& d) { d.close(); }, kChoiceSkipped}};
    for (const auto& [player, answer] : players) EXPECT_EQ(AskAndAct(kThree, player), answer);
}

TEST(ChoiceDialog, AnEmptyThirdOptionIsHiddenAndComesBackNextTime) {
    AskAndAct({L"Да", L"Нет", L""}, [](frmS& d) {
        EXPECT_FALSE(d.lblA[2]->isVisible());
        QTest::keyClick(d.lblA[0], Qt::Key_Down);
        EXPECT_TRUE(d.lblA[1]->isChecked());
        QTest::keyClick(d.lblA[1], Qt::Key_Up);
        EXPECT_TRUE(d.lblA[0]->isChecked());
        d.reject();
    });
    AskAndAct(kThree, [](frmS& d) {
        EXPECT_TRUE(d.lblA[2]->isVisible());
        EXPECT_EQ(d.lblA[1]->text(), QStringLiteral("Юг"));
        d.reject();
    });
}

}  // namespace
