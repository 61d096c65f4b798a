#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>

#include "ScriptedMessages.h"
#include "core/platform/Folders.h"
#include "gui/library/LibraryAddDialog.h"

using namespace pemo;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(LibraryAddDialog, ConfirmingChecksTheCategoryAndTheName) {
    const QString root = programFolder() + u("/底图模板");
    for (const char* category : {"空白底图", "节日", "促销"})
        QDir().mkpath(root + "/" + u(category));
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(root + u("/节日/红色.bmp")));
    const QString source = programFolder() + u("/选中.bmp");
    ASSERT_TRUE(image.save(source));

    CResBkgdAdd dialog(u("节日"));
    QStringList categories;
    for (int i = 0; i < dialog.categoryBox()->count(); ++i)
        categories << dialog.categoryBox()->itemText(i);
    EXPECT_EQ(categories, QStringList({u("促销"), u("节日")}));  // never 空白底图
    EXPECT_EQ(dialog.category(), u("节日"));
    dialog.selectFile(source);

    const struct {
        const char* name;
        const char* message;  // empty: the dialog closes with OK
    } cases[] = {
        {"", "请输入底图名称!"},
        {"a.b", "底图名称中不能含有'.'符号!"},
        {"../外", "底图名称中不能含有'.'符号!"},
        {"a/b", "底图名称中不能含有 \\ / : * ? \" < > | 等符号!"},
        {"红色", "相同名称的底图已存在, 请重新输入底图名称!"},
        {"红色[2]", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedMessages messages;
        dialog.setResult(QDialog::Rejected);
        dialog.nameEdit()->setText(u(c.name));
        dialog.accept();
        if (*c.message) {
            EXPECT_EQ(messages.informed, QStringList({u(c.message)}));
            EXPECT_EQ(dialog.result(), QDialog::Rejected);
        } else {
            EXPECT_TRUE(messages.informed.isEmpty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
    }
    // Without a category nothing is said and the dialog stays.
    test::ScriptedMessages messages;
    dialog.setResult(QDialog::Rejected);
    dialog.categoryBox()->setCurrentIndex(-1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(messages.informed.isEmpty());
    QDir(root).removeRecursively();
    QFile::remove(source);
}

// A path typed into the file name field is the file that gets added, and only files
// the list can show are taken.
TEST(LibraryAddDialog, TakesTheFileItAccepts) {
    const QString root = programFolder() + u("/图库");
    QDir().mkpath(root + u("/花边"));
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString typed = programFolder() + u("/打入的.bmp");
    ASSERT_TRUE(image.save(typed));
    const QString png = programFolder() + u("/别的.png");
    ASSERT_TRUE(image.save(png));

    const struct {
        QString file;
        bool accepted;
    } cases[] = {{typed, true}, {png, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        CResImageAdd dialog(u("花边"));
        dialog.nameEdit()->setText(u("新图"));
        dialog.selectFile(c.file);
        test::ScriptedMessages messages;
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(messages.informed.isEmpty(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(dialog.selectedPath(), c.file);
            EXPECT_EQ(dialog.pictureWidth(), 6);
            EXPECT_EQ(dialog.name(), u("新图"));
        }
    }
    QDir(root).removeRecursively();
    QFile::remove(typed);
    QFile::remove(png);
}

}  // namespace
