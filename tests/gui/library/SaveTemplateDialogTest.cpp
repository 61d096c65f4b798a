#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "gui/library/SaveTemplateDialog.h"

using namespace pemo;

TEST(SaveTemplateDialog, SaveIsEnabledOnlyForANewValidName) {
    SaveTemplateDialog dialog({QString::fromUtf8("周末特价")});
    struct Case {
        const char* typed;
        bool enabled;
    };
    const Case cases[] = {
        {"", false},          {"新品上市", true},   {"周末特价", false}, {"周末特价2", true},
        {"a-b", false},       {"a.b", false},       {"a\\b", false},     {"a:b", false},
        {"a/b", false},       {"   ", false},       {"a*b", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        // Typed text arrives as textChanged; key clicks cannot carry Chinese characters.
        dialog.nameEdit()->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(dialog.saveButton()->isEnabled(), c.enabled);
    }
}

TEST(SaveTemplateDialog, ListsTheNamesAfterTheLastDash) {
    QTemporaryDir dir;
    for (const char* name : {"背景-模板一.vxt", "背景-x-模板二.vxt", "说明.txt"}) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QStringList names = SaveTemplateDialog::existingTemplates(dir.path());
    EXPECT_EQ(names.size(), 2);
    EXPECT_TRUE(names.contains(QString::fromUtf8("模板一")));
    EXPECT_TRUE(names.contains(QString::fromUtf8("模板二")));
}
