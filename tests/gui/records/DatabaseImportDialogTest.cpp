#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedMessages.h"
#include "SqliteFixture.h"
#include "core/config/VariableNameList.h"
#include "gui/records/DatabaseImportDialog.h"
#include "gui/records/DatabasePreviewModel.h"

using namespace pemo;

namespace {

class DatabaseImportDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        shop = dir.filePath("shop.db");
        test::makeShopDatabase(shop);
        dialog = std::make_unique<DatabaseImportDialog>(names);
        dialog->selectFile(shop);
        dialog->chooseFile(shop);
    }
    void typeCondition(const QString& text) {
        dialog->conditionEdit()->clear();
        QTest::keyClicks(dialog->conditionEdit(), text);
    }

    QTemporaryDir dir;
    QString shop;
    VariableNameList names = VariableNameList::build();
    std::unique_ptr<DatabaseImportDialog> dialog;
    test::ScriptedMessages messages;
};

}  // namespace

TEST_F(DatabaseImportDialogTest, ListsRealTablesAndTheirColumns) {
    QComboBox* tables = dialog->tableBox();
    ASSERT_EQ(tables->count(), 2);
    EXPECT_EQ(tables->itemText(0), QString::fromUtf8("商品 表"));
    EXPECT_EQ(tables->itemText(1), "Counter");
    EXPECT_EQ(dialog->targetBox(0)->count(), 6);
    EXPECT_EQ(dialog->targetBox(12)->itemText(2), "Price");
    dialog->targetBox(0)->setCurrentIndex(1);
    tables->setCurrentIndex(1);
    EXPECT_EQ(dialog->targetBox(0)->count(), 3);  // 空, id, n
    EXPECT_EQ(dialog->targetBox(0)->currentIndex(), 0);
}

TEST_F(DatabaseImportDialogTest, OkNeedsAPreviewOfTheConditionAsItStands) {
    dialog->targetBox(0)->setCurrentIndex(1);   // 名称
    dialog->targetBox(11)->setCurrentIndex(2);  // Price
    dialog->accept();
    typeCondition("Price > 50");
    dialog->preview();
    EXPECT_EQ(dialog->resultEdit()->text(), "2");
    EXPECT_EQ(dialog->previewModel()->rowCount(), 2);
    EXPECT_EQ(dialog->previewModel()->index(1, 11).data().toString(), "120.00");
    typeCondition("Price > 1000");
    EXPECT_TRUE(dialog->resultEdit()->text().isEmpty());
    dialog->accept();
    dialog->preview();
    EXPECT_EQ(dialog->resultEdit()->text(), "0");
    dialog->accept();
    typeCondition("Nope > 1");
    dialog->preview();
    EXPECT_TRUE(dialog->resultEdit()->text().isEmpty());
    EXPECT_EQ(dialog->previewModel()->rowCount(), 0);
    ASSERT_EQ(messages.informed.size(), 4);
    EXPECT_EQ(messages.informed.at(0), QString::fromUtf8("请先预览。"));
    EXPECT_EQ(messages.informed.at(1), QString::fromUtf8("请先预览。"));
    EXPECT_EQ(messages.informed.at(2), QString::fromUtf8("没有符合条件的数据。"));
    EXPECT_TRUE(messages.informed.at(3).contains("no such column: Nope"));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(DatabaseImportDialogTest, NotADatabaseLeavesNoTables) {
    const QString text = dir.filePath("goods.mdb");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Name,Price\n");
    file.close();
    dialog->chooseFile(text);
    EXPECT_EQ(dialog->tableBox()->count(), 0);
    EXPECT_EQ(dialog->targetBox(0)->count(), 1);
    EXPECT_FALSE(dialog->statusLabel()->text().isEmpty());
}
