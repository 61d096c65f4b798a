#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "Bytes.h"
#include "ScriptedMessages.h"
#include "core/codecs/Gbk.h"
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
        QSettings settings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo"));
        for (Kind kind : {Kind::Text, Kind::Workbook}) settings.remove(ImportSettings::headerKey(kind));
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
    EXPECT_EQ(pane->targetBox(0)->currentText(), QString::fromUtf8("列3"));
    EXPECT_EQ(pane->targetBox(12)->currentText(), QString::fromUtf8("列200"));
    EXPECT_EQ(pane->separatorBox()->currentText(), ":");
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("导入"));
    // .csv, .txt and .tsv files show together at first.
    EXPECT_EQ(dialog.nameFilters().first(), QString::fromUtf8("文本文件 (*.txt *.csv *.tsv)"));
    EXPECT_EQ(pane->previewList()->headerItem()->text(0), QString::fromUtf8("商品名称"));
    EXPECT_EQ(pane->previewList()->headerItem()->text(12), QString::fromUtf8("折扣"));
}

TEST_F(ImportDialogTest, ValidationStopsAtTheFirstFailure) {
    test::ScriptedMessages messages;
    ImportDialog dialog(Kind::Workbook, names);
    ImportMappingPane* pane = dialog.pane();
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    dialog.selectFile(fixture("products.xlsx"));
    pane->setColumns({});  // whatever the header's words suggested
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

TEST_F(ImportDialogTest, PreviewShowsTheRowsThatBecomeRecords) {
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
    // A workbook's first row is its header unless the user says otherwise.
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(dialog.firstRow(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QString::fromUtf8("可口可乐"));
    EXPECT_EQ(list->topLevelItem(0)->text(11), "2.8");
    EXPECT_TRUE(list->topLevelItem(0)->text(1).isEmpty());
    pane->headerBox()->setChecked(false);
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QString::fromUtf8("名称"));

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
    pane->separatorBox()->setCurrentIndex(1);
    pane->setColumns({});
    select(pane, 0, 1);
    select(pane, 11, 3);
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
    // The header row is what shows the encoding: it is previewed as a row.
    pane->headerBox()->setChecked(false);
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    EXPECT_EQ(box->currentText(), QStringLiteral("UTF-8"));
    EXPECT_EQ(pane->previewList()->topLevelItem(0)->text(0), QString::fromUtf8("名称"));
    box->setCurrentText(QStringLiteral("GBK"));
    EXPECT_EQ(dialog.encoding(), DelimitedText::Encoding::Gbk);
    QTest::mouseClick(pane->previewButton(), Qt::LeftButton);
    EXPECT_NE(pane->previewList()->topLevelItem(0)->text(0), QString::fromUtf8("名称"));
    EXPECT_TRUE(messages.informed.isEmpty()) << messages.informed.join(' ').toStdString();
}

TEST_F(ImportDialogTest, AChosenFileNamesItsColumnsAndGuessesTheMapping) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        const char* text;
        bool header;
        std::vector<std::pair<int, int>> mapped;  // target, column
        const char* thirdColumn;
    } cases[] = {
        {"a header", "品名,规格,产地,原价,售价\n可乐,330ml,天津,3.50,2.80\n",
         true, {{0, 1}, {2, 2}, {5, 3}, {10, 4}, {11, 5}}, "列3：产地"},
        // Without a header the saved mapping stays: columns 1 and 2.
        {"products only", "可乐,330ml,天津,3.50,2.80\n雪碧,500ml,北京,3,2\n",
         false, {{0, 1}, {1, 2}}, "列3：天津"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImportSettings saved(Kind::Text);
        saved.columns[0] = 1;
        saved.columns[1] = 2;
        ASSERT_TRUE(saved.save());
        const QString path = dir.filePath(QString::fromUtf8(c.name) + ".csv");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Gbk::fromUnicode(QString::fromUtf8(c.text)));
        file.close();
        ImportDialog dialog(Kind::Text, names);
        ImportMappingPane* pane = dialog.pane();
        dialog.chooseFile(path);
        EXPECT_EQ(pane->firstRowIsHeader(), c.header);
        ImportSettings::Columns expected{};
        for (const auto& [target, column] : c.mapped) expected[size_t(target)] = column;
        EXPECT_EQ(dialog.settings().columns, expected);
        EXPECT_EQ(pane->targetBox(0)->count(), 6);  // 空 and five columns: a short list
        EXPECT_EQ(pane->targetBox(0)->itemText(3), QString::fromUtf8(c.thirdColumn));
    }
}

TEST_F(ImportDialogTest, TheHeaderChoiceIsRememberedPerKindOfFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("rows.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Gbk::fromUnicode(QString::fromUtf8("名称,现价\n可乐,3\n")));
    file.close();
    {
        ImportDialog dialog(Kind::Text, names);
        dialog.selectFile(path);
        dialog.chooseFile(path);
        ASSERT_TRUE(dialog.pane()->firstRowIsHeader());
        dialog.pane()->headerBox()->setChecked(false);
        dialog.accept();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    ImportDialog again(Kind::Text, names);
    again.chooseFile(path);
    EXPECT_FALSE(again.pane()->firstRowIsHeader());
    EXPECT_EQ(again.firstRow(), 1);
    // Workbooks keep their own choice: a header, as always.
    ImportDialog workbook(Kind::Workbook, names);
    EXPECT_TRUE(workbook.pane()->firstRowIsHeader());
}
