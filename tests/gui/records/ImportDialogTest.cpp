#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "Bytes.h"
#include "ScriptedMessages.h"
#include "core/config/DicFile.h"
#include "core/config/VariableNameList.h"
#include "gui/records/EncodingChoice.h"
#include "gui/records/ImportDialog.h"
#include "gui/records/ImportMappingPane.h"

using namespace pemo;
using Kind = ImportSettings::Kind;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(PEMO_TEST_DATA "/import/") + QString::fromUtf8(name);
}

class ImportDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(DicFile::path(ImportSettings::fileName(Kind::Text)));
        QFile::remove(DicFile::path(ImportSettings::fileName(Kind::Workbook)));
    }
    VariableNameList names = VariableNameList::build();
};

void select(ImportMappingPane* pane, int target, int column) {
    pane->targetBox(target)->setCurrentIndex(column);
}

}  // namespace

TEST_F(ImportDialogTest, OpensWithTheSavedSettingsAndTheirChoices) {
    ImportSettings saved(Kind::Text);
    saved.columns[0] = 3;
    saved.columns[12] = 200;
    saved.separatorIndex = 2;
    ASSERT_TRUE(saved.save());
    ImportDialog dialog(Kind::Text, names);
    ImportMappingPane* pane = dialog.pane();
    EXPECT_EQ(pane->targetBox(0)->count(), 201);
    EXPECT_EQ(pane->targetBox(0)->itemText(0), QString::fromUtf8("空"));
    EXPECT_EQ(pane->targetBox(0)->currentText(), "3");
    EXPECT_EQ(pane->targetBox(12)->currentText(), "200");
    EXPECT_EQ(pane->separatorBox()->currentText(), ":");
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("导入"));
    EXPECT_EQ(dialog.nameFilters().first(), QString::fromUtf8("所有文件 (*.txt)"));
    EXPECT_EQ(pane->previewList()->headerItem()->text(0), QString::fromUtf8("商品名称"));
    EXPECT_EQ(pane->previewList()->headerItem()->text(12), QString::fromUtf8("折扣"));
}

TEST_F(ImportDialogTest, ValidationStopsAtTheFirstFailure) {
    test::ScriptedMessages messages;
    ImportDialog dialog(Kind::Workbook, names);
    ImportMappingPane* pane = dialog.pane();
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    dialog.selectFile(fixture("products.xlsx"));
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    pane->sheetEdit()->setText(QString::fromUtf8("商品"));
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    select(pane, 10, 3);
    select(pane, 11, 3);
    dialog.accept();
    EXPECT_EQ(messages.informed,
              (QStringList{QString::fromUtf8("空文件名。"),
                           QString::fromUtf8("在配置中，工作表名不能为空。"),
                           QString::fromUtf8("在配置中，所有项为空，文件无法导入。"),
                           QString::fromUtf8("在配置中，{原价}和{现价}的值相同，文件无法导入。")}));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(DicFile::path(ImportSettings::fileName(Kind::Workbook))));
}

TEST_F(ImportDialogTest, PreviewShowsTheHeaderRowThenTheData) {
    test::ScriptedMessages messages;
    ImportDialog dialog(Kind::Workbook, names);
    ImportMappingPane* pane = dialog.pane();
    dialog.selectFile(fixture("products.xls"));
    pane->sheetEdit()->setText(QString::fromUtf8("商品"));
    select(pane, 0, 1);
    select(pane, 11, 12);
    select(pane, 1, 199);  // beyond the sheet's columns: stays empty
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    EXPECT_TRUE(messages.informed.isEmpty()) << messages.informed.join(' ').toStdString();
    QTreeWidget* list = pane->previewList();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QString::fromUtf8("名称"));
    EXPECT_EQ(list->topLevelItem(1)->text(0), QString::fromUtf8("可口可乐"));
    EXPECT_EQ(list->topLevelItem(1)->text(11), "2.8");
    EXPECT_TRUE(list->topLevelItem(1)->text(1).isEmpty());

    // A missing sheet is said, not passed over.
    pane->sheetEdit()->setText(QStringLiteral("Sheet9"));
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    EXPECT_EQ(messages.informed, QStringList{QString::fromUtf8("工作簿中没有名为“Sheet9”的工作表。")});
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST_F(ImportDialogTest, ConfirmingSavesTheSettings) {
    test::ScriptedMessages messages;
    ImportDialog dialog(Kind::Text, names);
    ImportMappingPane* pane = dialog.pane();
    dialog.selectFile(fixture("gbk.csv"));
    select(pane, 0, 1);
    select(pane, 11, 3);
    pane->separatorBox()->setCurrentIndex(1);
    dialog.accept();
    EXPECT_TRUE(messages.informed.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenPath(), fixture("gbk.csv"));
    QFile file(DicFile::path(ImportSettings::fileName(Kind::Text)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    test::Bytes expected;
    for (int t = 0; t < 13; ++t) expected.i32(t == 0 ? 1 : t == 11 ? 3 : 0);
    expected.i32(1);
    EXPECT_EQ(file.readAll(), expected.data());
}

TEST_F(ImportDialogTest, TheGuessedEncodingIsShownAndCanBeChanged) {
    test::ScriptedMessages messages;
    ImportDialog dialog(Kind::Text, names);
    ImportMappingPane* pane = dialog.pane();
    ASSERT_NE(dialog.encodingChoice(), nullptr);
    QComboBox* box = dialog.encodingChoice()->box();
    EXPECT_EQ(box->currentText(), QString::fromUtf8("自动"));
    struct Case {
        const char* file;
        const char* guessed;
    };
    for (const Case& c : {Case{"utf8-bom.csv", "UTF-8"}, Case{"utf16le.csv", "UTF-16LE"}, Case{"gbk.csv", "GBK"}}) {
        dialog.encodingChoice()->guessFor(fixture(c.file));
        EXPECT_EQ(box->currentText(), QString::fromLatin1(c.guessed)) << c.file;
    }
    // A typed name: the preview shows the guess; the user's choice then wins.
    dialog.encodingChoice()->guessFor(QString());
    dialog.selectFile(fixture("utf8-bom.csv"));
    select(pane, 0, 1);
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    EXPECT_EQ(box->currentText(), QStringLiteral("UTF-8"));
    EXPECT_EQ(pane->previewList()->topLevelItem(0)->text(0), QString::fromUtf8("名称"));
    box->setCurrentText(QStringLiteral("GBK"));
    EXPECT_EQ(dialog.encoding(), DelimitedText::Encoding::Gbk);
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    EXPECT_NE(pane->previewList()->topLevelItem(0)->text(0), QString::fromUtf8("名称"));
    EXPECT_TRUE(messages.informed.isEmpty()) << messages.informed.join(' ').toStdString();
}
