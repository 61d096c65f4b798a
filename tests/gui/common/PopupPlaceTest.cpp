// Popups open under their toolbar button and stay whole on the screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "gui/common/PopupPlace.h"

using namespace pemo;

TEST(PopupPlace, APopupIsMovedWholeOntoTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(200, 100);
    const QPoint inside = area.topLeft() + QPoint(10, 20);
    const struct {
        const char* name;
        QPoint at;
        QPoint placed;
    } cases[] = {
        {"inside stays", inside, inside},
        {"past the right edge", QPoint(area.right() - 50, inside.y()),
         QPoint(area.right() + 1 - 200, inside.y())},
        {"past the bottom", QPoint(inside.x(), area.bottom() - 10), QPoint(inside.x(), area.bottom() + 1 - 100)},
        {"past both", area.bottomRight(), area.bottomRight() + QPoint(1, 1) - QPoint(200, 100)},
        {"left of and above the screen", area.topLeft() - QPoint(30, 40), area.topLeft()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PopupPlace::onScreen(c.at, size), c.placed);
    }
    // Larger than the screen: its top-left corner shows.
    EXPECT_EQ(PopupPlace::onScreen(area.center(), area.size() + QSize(50, 50)), area.topLeft());
}

TEST(PopupPlace, UnderAShownButtonOnly) {
    QWidget window;
    window.move(100, 100);
    auto* button = new QPushButton(QStringLiteral("x"), &window);
    button->setGeometry(30, 40, 24, 20);
    EXPECT_FALSE(PopupPlace::under(nullptr, 0, 1).has_value());
    EXPECT_FALSE(PopupPlace::under(button, 0, 1).has_value()) << "its window is hidden";
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint bottomLeft = button->mapToGlobal(QPoint(0, 20));
    EXPECT_EQ(PopupPlace::under(button, 0, 1), bottomLeft + QPoint(0, 1));
    EXPECT_EQ(PopupPlace::under(button, -145, 2), bottomLeft + QPoint(-145, 2));
    button->hide();
    EXPECT_FALSE(PopupPlace::under(button, 0, 1).has_value());
}
