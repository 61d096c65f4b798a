#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "gui/dialogs/FontSizeDialog.h"

namespace pemo {

// 字号 takes 5 to 360 points, typed or picked; a size it cannot take greys out 确定 and
// says why.
TEST(FontSizeDialog, TakesSmallSizesAndSaysWhyItRefusesOthers) {
    FontSizeDialog dialog(24);
    EXPECT_EQ(dialog.sizeBox()->currentText(), QStringLiteral("24"));
    EXPECT_GE(dialog.sizeBox()->findText(QStringLiteral("9")), 0) << "small sizes are listed";
    const struct {
        const char* typed;
        bool taken;
        const char* why;  // a part of the reason shown
    } cases[] = {
        {"9", true, ""},     {"5", true, ""},         {" 12 ", true, ""},       {"360", true, ""},
        {"4", false, "最小为5磅"}, {"400", false, "最大为360磅"}, {"abc", false, "整数"}, {"", false, "请输入"},
        {"9.5", false, "整数"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialog.sizeBox()->setEditText(QString::fromUtf8(c.typed));
        EXPECT_EQ(dialog.okButton()->isEnabled(), c.taken);
        EXPECT_EQ(dialog.problemLabel()->isVisibleTo(&dialog), !c.taken);
        EXPECT_TRUE(dialog.problemLabel()->text().contains(QString::fromUtf8(c.why)))
            << dialog.problemLabel()->text().toStdString();
        if (c.taken) {
            EXPECT_EQ(dialog.points(), QString::fromUtf8(c.typed).trimmed().toInt());
        }
    }
}

}  // namespace pemo
