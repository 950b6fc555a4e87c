#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "ui/menu.h"
#include "ui/text_scroll.h"
#include "ui/text_viewer.h"

using namespace morvath::ui;

TEST(StartMenu, CaptionsPanelsAboutAndProgress) {
    frmMenu m;
    m.show();
    QStringList captions = {m.windowTitle(), m.Frame1->title(), m.frmNewChar->title(), m.frmStarting->title(), m.lstPersons->item(3)->text()};
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m.Command1, m.Command2, m.Command3, m.Command6, m.Command4, m.chkSL, m.Command5, m.Command7})
        captions << b->text();
    EXPECT_EQ(captions.join(u'|'), QStringLiteral("Welcome to the Morvath!|Добро Пожаловать!...|Создать нового персонажа...|"
                                                  "Создание нового мира...(ждите)|\"Коготь\"|Создать персонажа.|Загрузить предыдущую игру.|"
                                                  "Зайти в Зал Славы.|Прочитать о программе.|Выйти|"
                                                  "Оставлять сохранение когда персонажа убивают|Вперёд!|Закрыть"));
    EXPECT_EQ(std::tuple(m.lstPersons->count(), m.Frame1->isVisible(), m.frmNewChar->isVisible() || m.frmStarting->isVisible() || m.Frame2->isVisible()),
              std::tuple(5, true, false));

    // Esc closes the About panel like its button, only while the panel is open.
    QSignalSpy closed(&m, &frmMenu::aboutClosed);
    QTest::keyClick(&m, Qt::Key_Escape);
    m.Frame1->hide();
    m.Frame2->show();
    QTest::keyClick(m.Command7, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
    // The window holds what it shows: the About panel alone.
    QApplication::processEvents();
    EXPECT_EQ(m.size(), m.sizeHint());

    // The progress bar follows the percentage.
    m.frmStarting->show();
    m.picProgreso->setFixedWidth(202);
    m.ShowProgress(50, QStringLiteral("Карты"));
    EXPECT_EQ(m.lblPorc->text() + m.lblStatus->text() + QString::number(m.shaProgreso->width()), QStringLiteral("50%Карты100"));
    m.shaProgreso->setFixedWidth(5);  // 2.5 percent, to the even 2
    EXPECT_EQ(m.GetProgress(), 2);

    // "Необходимо ввести имя!" opens over the menu: its text must stand out from its face.
    QMessageBox box(&m);
    box.setText(QStringLiteral("Необходимо ввести имя!"));
    box.show();
    auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(text, nullptr);
    const QColor face = box.grab().toImage().pixelColor(2, 2), ink = text->palette().color(QPalette::WindowText);
    EXPECT_GT(std::abs(face.lightness() - ink.lightness()), 100) << face.name().toStdString() << " " << ink.name().toStdString();
}

// Another person, the same one clicked again, a key that moves and one that does not: four names.
TEST(StartMenu, EveryChoiceOfAPersonAsksForAName) {
    frmMenu m;
    m.frmNewChar->show();
    m.show();
    QSignalSpy asked(&m, &frmMenu::personChanged);
    const QPoint second = m.lstPersons->visualItemRect(m.lstPersons->item(1)).center();
    for (int i = 0; i < 2; ++i) QTest::mouseClick(m.lstPersons->viewport(), Qt::LeftButton, {}, second);
    QTest::keyClick(m.lstPersons, Qt::Key_Down);
    QTest::keyClick(m.lstPersons, Qt::Key_Z);
    QApplication::processEvents();
    EXPECT_EQ(std::pair(int(asked.count()), m.lstPersons->currentRow()), std::pair(4, 2));
}

TEST(SingleInstance, TheFirstCallerHoldsTheLockAndTheExitButtonLeavesNone) {
    // In this process the first call takes the lock; asking again still answers "not running".
    EXPECT_EQ(std::pair(AnotherInstanceRunning(), AnotherInstanceRunning()), std::pair(false, false));
    EXPECT_TRUE(QFile::exists(InstanceLockPath()));
    EXPECT_EXIT((frmMenu().Command4->click()), ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(QFile::exists(InstanceLockPath()));
}

TEST(TextViewer, ArrowsScrollOtherKeysCloseAndAModalShowReturnsOnAKey) {
    auto& v = frmShowText::Instance();
    v.ShowText(QStringLiteral("второй\n").repeated(200), false);
    QWidget* box = v.focusWidget() ? v.focusWidget() : &v;
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) QTest::keyClick(box, key);
    EXPECT_TRUE(v.isVisible());
    QTest::keyClick(box, Qt::Key_A);
    EXPECT_FALSE(v.isVisible());

    QTimer::singleShot(0, [&v] { QTest::keyClick(v.focusWidget() ? v.focusWidget() : &v, Qt::Key_Return); });
    v.ShowText(QStringLiteral("вступление"), true);
    EXPECT_EQ(std::pair(v.isVisible(), v.Text()), std::pair(false, QStringLiteral("вступление")));
}

// The credits pass on what the player does to them, in the order he does it.
TEST(AboutPanel, TheCreditsPassOnClicksKeysAndTheMouse) {
    TextScrollWidget credits(QSize(200, 120));
    credits.show();
    QStringList seen;
    auto on = [&](auto signal, const char* what) {
        QObject::connect(&credits, signal, [&seen, what](auto... v) { seen << (QStringList{what} << QStringList{QString::number(v)...}).join(u' '); });
    };
    on(&TextScrollWidget::Click, "click"), on(&TextScrollWidget::DblClick, "double"), on(&TextScrollWidget::KeyDown, "keydown");
    on(&TextScrollWidget::KeyPress, "keypress"), on(&TextScrollWidget::KeyUp, "keyup"), on(&TextScrollWidget::MouseDown, "down");
    on(&TextScrollWidget::MouseUp, "up"), on(&TextScrollWidget::MouseMove, "move");
    const QPoint at(10, 20);
    QTest::mouseClick(&credits, Qt::RightButton, Qt::ControlModifier, at);
    QTest::mouseDClick(&credits, Qt::RightButton, Qt::ControlModifier, at);
    QTest::mouseRelease(&credits, Qt::RightButton, Qt::ControlModifier, at);
    QMouseEvent drag(QEvent::MouseMove, QPointF(30, 5), credits.mapToGlobal(QPointF(30, 5)), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(&credits, &drag);
    QTest::keyClick(&credits, Qt::Key_L);
    EXPECT_EQ(seen.join(u'|').toStdString(), "down 2 2 10 20|up 2 2 10 20|click|double|up 2 2 10 20|move 1 1 30 5|keydown 76 0|keypress 108|keyup 76 0");
}

// The About panel's credits move without being drawn anew.
TEST(AboutPanel, CreditsMoveAPixelPerTickFromAPictureDrawnOnce) {
    TextScrollWidget credits(QSize(200, 120));
    credits.Control().ScrollSpeed = 5;
    credits.SetText(QStringLiteral("Morvath||Замысел и мир|команда Morvath"));
    credits.show();
    credits.StartScroll();
    const unsigned renders = credits.Control().RenderCount();
    const QImage before = credits.grab().toImage();
    // Ten ticks at the least; a busy machine may take longer than 50 ms to give them.
    for (int waited = 0; waited < 5000 && credits.Control().PictureTop() >= 118 - 10; waited += 10) QTest::qWait(10);
    EXPECT_EQ(std::tuple(credits.Control().PictureTop() < 118 - 10, credits.IsScrolling(), credits.Control().RenderCount(), credits.grab().toImage() != before),
              std::tuple(true, true, renders, true));

    credits.StopScroll();
    QTest::qWait(30);
    EXPECT_EQ(std::pair(credits.IsScrolling(), credits.Control().PictureTop()), std::pair(false, 118));
}
