#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScriptedMessages.h"
#include "view/CustomPageSizeDialog.h"

using namespace pemo;

TEST(CustomPageSizeDialog, ConfirmOnlyWhileBothSidesAreFrom20To2000) {
    CustomPageSizeDialog dialog(190, 280);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("自定义模板幅面"));
    EXPECT_EQ(dialog.widthEdit()->text(), QStringLiteral("190"));
    EXPECT_EQ(dialog.heightEdit()->text(), QStringLiteral("280"));
    EXPECT_TRUE(dialog.confirmButton()->isEnabled());
    struct Case {
        const char* width;
        const char* height;
        bool enabled;
    };
    const Case cases[] = {
        {"300", "10", false},  {"300", "2500", false}, {"20", "2000", true}, {"2000", "20", true},
        {"19", "300", false},  {"300", "2001", false}, {"", "300", false},   {"300", "", false},
        {"-20", "300", false}, {"0300", "0020", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        dialog.widthEdit()->setText(QString::fromLatin1(c.width));
        dialog.heightEdit()->setText(QString::fromLatin1(c.height));
        EXPECT_EQ(dialog.confirmButton()->isEnabled(), c.enabled);
        if (c.enabled) {
            EXPECT_EQ(dialog.widthMm(), QString::fromLatin1(c.width).toInt());
            EXPECT_EQ(dialog.heightMm(), QString::fromLatin1(c.height).toInt());
        }
    }
}

TEST(CustomPageSizeDialog, TypingThatIsNoWholeNumberIsRefused) {
    test::ScriptedMessages messages;
    CustomPageSizeDialog dialog(190, 280);
    QLineEdit* width = dialog.widthEdit();
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("25"));
    EXPECT_EQ(width->text(), QStringLiteral("25"));
    EXPECT_TRUE(messages.informed.isEmpty());

    QTest::keyClicks(width, QStringLiteral("x"));
    EXPECT_EQ(width->text(), QStringLiteral("25"));
    EXPECT_EQ(messages.informed, QStringList{QString::fromUtf8("请键入一个整数。")});
    EXPECT_TRUE(dialog.confirmButton()->isEnabled());

    // Emptying a box is no refusal, but leaves nothing to confirm.
    QTest::keyClick(width, Qt::Key_Backspace);
    QTest::keyClick(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), QString());
    EXPECT_EQ(messages.informed.size(), 1);
    EXPECT_FALSE(dialog.confirmButton()->isEnabled());
    QTest::keyClicks(width, QStringLiteral("1.5"));
    EXPECT_EQ(width->text(), QStringLiteral("15"));
    EXPECT_EQ(messages.informed.size(), 2);
}
