#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScriptedMessages.h"
#include "gui/view/CustomPageSizeDialog.h"

using namespace pemo;

TEST(CustomPageSizeDialog, ConfirmOnlyWhileBothSidesAreFrom20To2000) {
    CustomPageSizeDialog dialog(190, 280);
    EXPECT_EQ(dialog.widthEdit()->text(), QStringLiteral("190"));
    EXPECT_TRUE(dialog.confirmButton()->isEnabled());
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"300", "10", false}, {"300", "2500", false}, {"20", "2000", true},
        {"2000", "20", true}, {"", "300", false},     {"-20", "300", false},
    };
    for (const auto& [width, height, enabled] : cases) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        dialog.widthEdit()->setText(QString::fromLatin1(width));
        dialog.heightEdit()->setText(QString::fromLatin1(height));
        EXPECT_EQ(dialog.confirmButton()->isEnabled(), enabled);
    }
    dialog.widthEdit()->setText(QStringLiteral("0333"));
    EXPECT_EQ(dialog.widthMm(), 333);
}

TEST(CustomPageSizeDialog, TypingThatIsNoWholeNumberIsRefused) {
    test::ScriptedMessages messages;
    CustomPageSizeDialog dialog(190, 280);
    QLineEdit* width = dialog.widthEdit();
    width->selectAll();
    QTest::keyClicks(width, QStringLiteral("2x5"));
    EXPECT_EQ(width->text(), QStringLiteral("25"));
    EXPECT_EQ(messages.informed, QStringList{QString::fromUtf8("请键入一个整数。")});
    EXPECT_TRUE(dialog.confirmButton()->isEnabled());
    // Emptying a box is no refusal, but leaves nothing to confirm.
    QTest::keyClick(width, Qt::Key_Backspace);
    QTest::keyClick(width, Qt::Key_Backspace);
    EXPECT_EQ(messages.informed.size(), 1);
    EXPECT_FALSE(dialog.confirmButton()->isEnabled());
}
