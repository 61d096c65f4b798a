#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "Bytes.h"
#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/config/DicFile.h"
#include "core/document/CPatDoc.h"
#include "gui/records/ExportDialog.h"
#include "gui/records/ExportPane.h"
#include "gui/view/ListPrintOptions.h"

using namespace pemo;
using Kind = ExportSettings::Kind;

namespace {

class ExportDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        QFile::remove(DicFile::path(ExportSettings::fileName(Kind::Text)));
        QFile::remove(DicFile::path(ExportSettings::fileName(Kind::Workbook)));
        doc.newDocument();
        for (int r = 0; r < 7; ++r) {
            if (r > 0) doc.records.push_back(doc.newRecord());
            doc.records.back()->values[0] = test::gbk("很长的商品名称，超过三十个字节的部分不显示") + QByteArray::number(r);
            doc.records.back()->values[12] = QByteArray::number(r);
        }
        ASSERT_TRUE(dir.isValid());
    }
    CPatDoc doc;
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ExportDialogTest, OpensWithSavedSettingsAndPreviewsFiveRecords) {
    ExportSettings saved(Kind::Text);
    saved.orders[12] = 1;
    saved.separatorIndex = 1;
    ASSERT_TRUE(saved.save());
    ExportDialog dialog(Kind::Text, doc);
    ExportPane* pane = dialog.pane();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("导出"));
    EXPECT_EQ(pane->targetBox(0)->count(), 14);
    EXPECT_EQ(pane->targetBox(12)->currentText(), "1");
    EXPECT_EQ(pane->separatorBox()->currentText(), ";");
    QTreeWidget* list = pane->previewList();
    ASSERT_EQ(list->topLevelItemCount(), 5);
    // Cut to 30 bytes: fifteen Chinese characters.
    EXPECT_EQ(list->topLevelItem(0)->text(0), QString::fromUtf8("很长的商品名称，超过三十个字节"));
    EXPECT_EQ(list->topLevelItem(4)->text(12), "4");

    // A new workbook dialog starts with Sheet1.
    ExportDialog book(Kind::Workbook, doc);
    EXPECT_EQ(book.pane()->sheetEdit()->text(), QStringLiteral("Sheet1"));
}

TEST_F(ExportDialogTest, ValidationThenSavingOnConfirm) {
    test::ScriptedMessages messages;
    ExportDialog dialog(Kind::Workbook, doc);
    ExportPane* pane = dialog.pane();
    // Without a name the dialog stays in its folder and says nothing.
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.selectFile(dir.filePath(QStringLiteral("out.xls")));
    auto* note = pane->findChild<QLabel*>(QStringLiteral("xlsxNote"));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text(), QString::fromUtf8("工作簿以 .xlsx 格式写出：out.xlsx"));
    pane->sheetEdit()->clear();
    dialog.accept();
    pane->sheetEdit()->setText(QString::fromUtf8("清单"));
    dialog.accept();
    pane->targetBox(0)->setCurrentIndex(1);
    pane->targetBox(10)->setCurrentIndex(3);
    dialog.accept();
    EXPECT_EQ(messages.informed,
              (QStringList{QString::fromUtf8("在配置中，工作表名不能为空。"),
                           QString::fromUtf8("在配置中，所有项为空，文件无法导出。"),
                           QString::fromUtf8("共导出2项，{原价}的导出序号错误。")}));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    QTest::mouseClick(pane->allButton(), Qt::LeftButton);
    for (int t = 0; t < 13; ++t) EXPECT_EQ(pane->targetBox(t)->currentIndex(), t + 1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenPath(), dir.filePath(QStringLiteral("out.xlsx")));
    QFile file(DicFile::path(ExportSettings::fileName(Kind::Workbook)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    test::Bytes expected;
    for (int t = 0; t < 13; ++t) expected.i32(t + 1);
    expected.text("清单");
    EXPECT_EQ(file.readAll(), expected.data());
}

// The question is asked of the file written: out.xls is written as out.xlsx.
TEST_F(ExportDialogTest, AsksBeforeReplacingTheFileReallyWritten) {
    QFile(dir.filePath(QStringLiteral("out.xls"))).open(QIODevice::WriteOnly);
    QFile(dir.filePath(QStringLiteral("kept.xlsx"))).open(QIODevice::WriteOnly);
    const struct {
        const char* typed;
        Messages::Answer answer;
        QStringList asked;
        QDialog::DialogCode result;
    } cases[] = {
        {"out.xls", Messages::Answer::Yes, {}, QDialog::Accepted},
        {"kept.xls", Messages::Answer::No, {QString::fromUtf8("kept.xlsx 已存在。\n要替换它吗？")}, QDialog::Rejected},
        {"kept.xlsx", Messages::Answer::Yes, {QString::fromUtf8("kept.xlsx 已存在。\n要替换它吗？")}, QDialog::Accepted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        test::ScriptedMessages messages{c.answer};
        ExportDialog dialog(Kind::Workbook, doc);
        dialog.pane()->targetBox(0)->setCurrentIndex(1);
        dialog.selectFile(dir.filePath(QString::fromLatin1(c.typed)));
        dialog.accept();
        EXPECT_EQ(messages.asked, c.asked);
        EXPECT_EQ(dialog.result(), c.result);
    }
}

TEST_F(ExportDialogTest, ListPrintOptionsFollowTheQueue) {
    for (int queued : {0, 3}) {
        ListPrintOptions options(queued, 7);
        EXPECT_FALSE(options.emptyBox()->isChecked());
        EXPECT_EQ(options.queueButton()->isEnabled(), queued > 0);
        EXPECT_EQ(options.queueButton()->isChecked(), queued > 0);
        EXPECT_EQ(options.allButton()->isChecked(), queued == 0);
        EXPECT_EQ(options.queueCount()->text(), QString::fromUtf8("共%1项").arg(queued));
        EXPECT_EQ(options.allCount()->text(), QString::fromUtf8("共7项"));
        EXPECT_EQ(options.options().queueOnly, queued > 0);
    }
}
