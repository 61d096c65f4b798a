#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "Bytes.h"
#include "core/config/DicFile.h"
#include "gui/config/MallInfoDialog.h"
#include "gui/config/PhraseDialog.h"
#include "gui/config/VariableDialog.h"
#include "core/platform/Folders.h"

using namespace pemo;
using pemo::test::gbk;

TEST(MallInfoDialog, ReturnNeedsAllFiveValues) {
    MallInfoDialog dialog(MallInfoList{});
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    dialog.valueEdit(3)->clear();
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.valueEdit(3)->setText(QStringLiteral("010-1"));
    EXPECT_TRUE(dialog.okButton()->isEnabled());
}

TEST(VariableDialog, TheFirstRowCannotBeChangedOrRemoved) {
    deleteFileForced(DicFile::path(QStringLiteral("PemVar.dic")));
    VariableDialog dialog(VariableNameList{});
    using B = VariableDialog;
    ASSERT_EQ(dialog.sets()->rowCount(), 1);
    // The fields hold exactly the first row: nothing to save or add; the first row is
    // never removed.
    EXPECT_FALSE(dialog.button(B::Save)->isEnabled());
    EXPECT_FALSE(dialog.button(B::Add)->isEnabled());
    EXPECT_FALSE(dialog.button(B::Remove)->isEnabled());
    EXPECT_TRUE(dialog.button(B::Choose)->isEnabled());

    dialog.nameEdit(0)->setText(QString::fromUtf8("品名"));
    EXPECT_TRUE(dialog.button(B::Add)->isEnabled());
    EXPECT_FALSE(dialog.button(B::Save)->isEnabled());  // the first row is selected
    dialog.button(B::Add)->click();
    EXPECT_EQ(dialog.sets()->rowCount(), 2);
    EXPECT_TRUE(dialog.button(B::Remove)->isEnabled());
    EXPECT_FALSE(dialog.button(B::Add)->isEnabled());

    // An empty field disables everything but 取消.
    dialog.nameEdit(9)->clear();
    for (auto b : {B::Save, B::Add, B::Remove, B::Default, B::Choose, B::Ok}) {
        EXPECT_FALSE(dialog.button(b)->isEnabled());
    }
    dialog.nameEdit(9)->setText(QString::fromUtf8("其他"));

    // 选用 on the first row brings the built-in names back.
    dialog.sets()->selectRow(0);
    dialog.button(B::Choose)->click();
    EXPECT_EQ(dialog.nameEdit(0)->text(), QString::fromUtf8("商品名称"));
    dialog.button(B::Ok)->click();
    EXPECT_EQ(dialog.names().at(0), gbk("商品名称"));
    EXPECT_EQ(VariableNameList::loadSets().size(), 1);
}

TEST(PhraseDialog, TwentyPhrasesDisableAdd) {
    PhraseList phrases;
    for (int i = 0; i < 19; ++i) phrases.add(gbk("短语"));
    PhraseDialog dialog(phrases);
    EXPECT_FALSE(dialog.saveButton()->isEnabled());
    EXPECT_TRUE(dialog.addButton()->isEnabled());
    dialog.addButton()->click();
    EXPECT_EQ(dialog.list()->count(), 20);
    EXPECT_EQ(dialog.edit()->text(), QString::fromUtf8("文字"));
    EXPECT_FALSE(dialog.addButton()->isEnabled());

    dialog.edit()->setText(QString::fromUtf8("清仓"));
    dialog.saveButton()->click();
    EXPECT_EQ(dialog.list()->item(19)->text(), QString::fromUtf8("清仓"));
    dialog.removeButton()->click();
    EXPECT_EQ(dialog.list()->count(), 19);
    EXPECT_EQ(dialog.list()->currentRow(), 18);
    EXPECT_TRUE(dialog.addButton()->isEnabled());
}
