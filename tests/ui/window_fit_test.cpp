// Windows that fit the desktop: the game view follows the window's size in whole steps, and
// the About panel's credits move without being drawn anew.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "../core/test_support.h"
#include "platform/random.h"
#include "ui/game_screen.h"
#include "ui/menu.h"
#include "ui/pictures.h"
#include "ui/text_scroll.h"
#include "world/game_state.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

TEST(WindowFit, TheViewTakesTheLargestWholeScaleTheWindowHolds) {
    TempGameFolder folder;
    Pictures().Clear();
    ResetGame();
    SeedRandom(1);
    auto& g = modVarsAndMain;
    g.CreateRoots();
    for (int row = 0; row <= 30; ++row) g.TheWorld->SetRow(row, std::wstring(25, L'G'));
    g.TheWorld->LocCount = -1;
    frmGame& screen = ShowGameScreen();
    const struct {
        int width, height, scale;
    } cases[] = {
        {700, 500, 1}, {1280, 1024, 2}, {1700, 1100, 3}, {2600, 1400, 4}, {1280, 1024, 2}, {640, 420, 1},
    };
    for (const auto& c : cases) {
        screen.resize(c.width, c.height);
        QApplication::processEvents();
        EXPECT_EQ(screen.pic->Scale(), c.scale) << c.width << "x" << c.height;
        EXPECT_EQ(screen.pic->width(), 320 * c.scale) << c.width << "x" << c.height;
        // The side column stays beside the view, inside the window.
        const QRect view(screen.pic->mapTo(&screen, QPoint(0, 0)), screen.pic->size());
        const QRect portrait(screen.imgPlayer->mapTo(&screen, QPoint(0, 0)), screen.imgPlayer->size());
        EXPECT_LT(view.right(), portrait.left());
        EXPECT_LT(portrait.left() - view.right(), 320) << c.width << "x" << c.height;
        EXPECT_TRUE(screen.rect().contains(view));
    }
    delete &screen;
    Pictures().Clear();
}

TEST(WindowFit, CreditsMoveAPixelPerTickFromAPictureDrawnOnce) {
    TextScrollWidget credits(QSize(200, 120));
    credits.Control().ScrollSpeed = 5;
    credits.SetText(QStringLiteral("Morvath||Замысел и мир|команда Morvath"));
    credits.show();
    credits.StartScroll();
    const unsigned renders = credits.Control().RenderCount();
    const QImage before = credits.grab().toImage();
    QTest::qWait(300);
    const int top = credits.Control().PictureTop();
    EXPECT_LT(top, 118 - 10);
    EXPECT_TRUE(credits.IsScrolling());
    EXPECT_EQ(credits.Control().RenderCount(), renders);
    EXPECT_NE(credits.grab().toImage(), before);

    credits.StopScroll();
    QTest::qWait(30);
    EXPECT_FALSE(credits.IsScrolling());
    EXPECT_EQ(credits.Control().PictureTop(), 118);
}

TEST(WindowFit, EscClosesTheAboutPanelLikeItsButton) {
    frmMenu menu;
    menu.show();
    QSignalSpy closed(&menu, &frmMenu::aboutClosed);
    QTest::keyClick(&menu, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 0);  // only while the panel is open
    menu.Frame1->hide();
    menu.Frame2->show();
    QTest::keyClick(menu.Command7, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
    // The window holds what it shows: the About panel alone.
    QApplication::processEvents();
    EXPECT_EQ(menu.size(), menu.sizeHint());
}

}  // namespace
