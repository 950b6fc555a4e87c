#include <gtest/gtest.h>

#include <QWidget>

TEST(UiSmoke, WidgetsCanBeCreatedOffscreen) {
    QWidget w;
    w.resize(10, 10);
    EXPECT_EQ(w.grab().width(), 10);
}
