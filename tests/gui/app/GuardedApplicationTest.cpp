// A window command that runs out of memory says so and the window goes on.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <new>

#include "ScriptedMessages.h"
#include "gui/app/GuardedApplication.h"

using namespace pemo;

namespace {

[[noreturn]] void runOutOfMemory() { throw std::bad_alloc(); }

TEST(GuardedApplication, ACommandOutOfMemorySaysSoAndTheWindowGoesOn) {
    ASSERT_NE(dynamic_cast<GuardedApplication*>(QApplication::instance()), nullptr);
    test::ScriptedMessages messages;
    QMainWindow window;
    auto* button = new QPushButton(QStringLiteral("导入"), &window);
    window.setCentralWidget(button);
    auto* shortcut = new QAction(&window);
    shortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    window.addAction(shortcut);
    int later = 0;
    QObject::connect(button, &QPushButton::clicked, &window, [&] {
        if (++later == 1) runOutOfMemory();
    });
    QObject::connect(shortcut, &QAction::triggered, &window, [] { runOutOfMemory(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // By the mouse and by a key, the two ways a command starts.
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(messages.informed, QStringList({GuardedApplication::outOfMemoryText(),
                                              GuardedApplication::outOfMemoryText()}));
    EXPECT_TRUE(messages.informed.front().startsWith(QString::fromUtf8("内存不足：")));

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(later, 2);
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
