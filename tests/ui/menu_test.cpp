#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "ui/menu.h"
#include "ui/text_viewer.h"

using namespace morvath::ui;

TEST(StartMenu, CaptionsAndPanelsAtLoad) {
    frmMenu m;
    m.show();
    QStringList captions = {m.windowTitle(), m.Frame1->title(), m.frmNewChar->title(), m.frmStarting->title()};
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(m.Command1), static_cast<QAbstractButton*>(m.Command2),
                               static_cast<QAbstractButton*>(m.Command3), static_cast<QAbstractButton*>(m.Command6),
                               static_cast<QAbstractButton*>(m.Command4), static_cast<QAbstractButton*>(m.chkSL),
                               static_cast<QAbstractButton*>(m.Command5), static_cast<QAbstractButton*>(m.Command7)})
        captions << b->text();
    EXPECT_EQ(captions.join(u'|'), QStringLiteral("Welcome to the Morvath!|Добро Пожаловать!...|Создать нового персонажа...|"
                                                  "Создание нового мира...(ждите)|Создать персонажа.|Загрузить предыдущую игру.|"
                                                  "Зайти в Зал Славы.|Прочитать о программе.|Выйти|"
                                                  "Оставлять сохранение когда персонажа убивают|Вперёд!|Закрыть"));
    EXPECT_EQ(m.lstPersons->count(), 5);
    EXPECT_EQ(m.lstPersons->item(3)->text(), QStringLiteral("\"Коготь\""));
    EXPECT_TRUE(m.Frame1->isVisible());
    EXPECT_FALSE(m.frmNewChar->isVisible() || m.frmStarting->isVisible() || m.Frame2->isVisible());
}

TEST(StartMenu, ProgressBarFollowsThePercentage) {
    frmMenu m;
    m.frmStarting->show();
    m.show();
    m.picProgreso->setFixedWidth(202);
    m.ShowProgress(50, QStringLiteral("Карты"));
    EXPECT_EQ(m.lblPorc->text(), QStringLiteral("50%"));
    EXPECT_EQ(m.lblStatus->text(), QStringLiteral("Карты"));
    EXPECT_EQ(m.shaProgreso->width(), 100);
    m.ShowProgress(150, QStringLiteral("x"));
    EXPECT_EQ(m.shaProgreso->width(), 200);
}

TEST(StartMenu, MessageBoxesOverTheMenuAreReadable) {
    // "Необходимо ввести имя!" opens over the menu: its text must stand out from its face.
    frmMenu m;
    m.show();
    QMessageBox box(&m);
    box.setText(QStringLiteral("Необходимо ввести имя!"));
    box.show();
    QLabel* text = nullptr;
    for (QLabel* l : box.findChildren<QLabel*>()) {
        if (l->text() == box.text()) text = l;
    }
    ASSERT_NE(text, nullptr);
    text->ensurePolished();
    box.ensurePolished();
    const QImage shot = box.grab().toImage();
    const QColor face = shot.pixelColor(2, 2);
    const QColor ink = text->palette().color(QPalette::WindowText);
    EXPECT_GT(std::abs(face.lightness() - ink.lightness()), 100) << face.name().toStdString() << " " << ink.name().toStdString();
    box.close();
}

TEST(SingleInstance, TheFirstCallerHoldsTheLock) {
    // In this process the first call takes the lock; asking again still answers "not running".
    EXPECT_FALSE(AnotherInstanceRunning());
    EXPECT_FALSE(AnotherInstanceRunning());
}

TEST(TextViewer, ArrowsScrollAndOtherKeysClose) {
    auto& v = frmShowText::Instance();
    v.ShowText(QStringLiteral("первый"), false);
    v.ShowText(QStringLiteral("второй\n").repeated(200), false);
    EXPECT_TRUE(v.isVisible());
    EXPECT_TRUE(v.Text().startsWith(QStringLiteral("второй")));
    QWidget* box = v.focusWidget() ? v.focusWidget() : &v;
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) {
        QTest::keyClick(box, static_cast<Qt::Key>(key));
        EXPECT_TRUE(v.isVisible()) << key;
    }
    QTest::keyClick(box, Qt::Key_A);
    EXPECT_FALSE(v.isVisible());
}

TEST(TextViewer, ModalShowReturnsWhenAKeyIsPressed) {
    auto& v = frmShowText::Instance();
    QTimer::singleShot(0, [&v] {
        QWidget* box = v.focusWidget() ? v.focusWidget() : &v;
        QTest::keyClick(box, Qt::Key_Return);
    });
    v.ShowText(QStringLiteral("вступление"), true);
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(v.Text(), QStringLiteral("вступление"));
}
