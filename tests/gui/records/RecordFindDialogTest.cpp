#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Bytes.h"
#include "core/document/CPatDoc.h"
#include "gui/records/RecordFindDialog.h"
#include "gui/records/RecordGrid.h"

using namespace pemo;
using test::gbk;

namespace {

class RecordFindDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.clear();
        const char* values[][2] = {{"牛奶", ""}, {"面包", "牛奶面包"}, {"", ""}, {"奶酪", "牛奶"}};
        for (const auto& v : values) {
            auto record = doc.newRecord();
            record->setValue(0, gbk(v[0]));
            record->setValue(1, gbk(v[1]));
            doc.records.push_back(std::move(record));
        }
        doc.records.front()->current = true;
        doc.onChange = [this](CPatDoc::Change change) { grid.documentChanged(change); };
        grid.resize(600, 228);
        grid.show();
    }

    void typeSearch(const char* utf8) {
        dialog.searchEdit()->clear();
        // Chinese text arrives from the input method as one committed string.
        QInputMethodEvent typed;
        typed.setCommitString(QString::fromUtf8(utf8));
        QApplication::sendEvent(dialog.searchEdit(), &typed);
    }

    CPatDoc doc;
    RecordGrid grid{doc};
    RecordFindDialog dialog{doc, grid};
};

}  // namespace

TEST_F(RecordFindDialogTest, EnableRules) {
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.box(1)->text(), QString::fromUtf8("商品说明"));
    EXPECT_FALSE(dialog.findButton()->isEnabled());
    EXPECT_FALSE(dialog.findNextButton()->isEnabled());
    typeSearch("奶");
    EXPECT_TRUE(dialog.findButton()->isEnabled());
    EXPECT_FALSE(dialog.findNextButton()->isEnabled());

    dialog.findButton()->click();
    EXPECT_TRUE(dialog.findNextButton()->isEnabled());

    for (int k = 0; k < 10; ++k)
        dialog.box(k)->setChecked(false);
    EXPECT_FALSE(dialog.findButton()->isEnabled());
    EXPECT_FALSE(dialog.findNextButton()->isEnabled());
    dialog.box(9)->setChecked(true);
    EXPECT_TRUE(dialog.findButton()->isEnabled());
    dialog.searchEdit()->clear();
    EXPECT_FALSE(dialog.findButton()->isEnabled());
}

TEST_F(RecordFindDialogTest, FindsForwardsAndFindNextWrapsToTheTop) {
    typeSearch("牛奶");
    const struct {
        bool next;
        int current;
        const char* label;
        const char* value;
    } steps[] = {
        {false, 0, "商品名称", "牛奶"},  // 查找 starts at the current record
        {false, 0, "商品名称", "牛奶"},
        {true, 1, "商品说明", "牛奶面包"},
        {true, 3, "商品说明", "牛奶"},
        {true, 0, "商品名称", "牛奶"},  // from the last record: back to 0
    };
    for (const auto& s : steps) {
        (s.next ? dialog.findNextButton() : dialog.findButton())->click();
        EXPECT_EQ(doc.currentIndex(), s.current) << s.value;
        EXPECT_EQ(dialog.resultLabel()->text(), QString::fromUtf8(s.label));
        EXPECT_EQ(dialog.valueEdit()->text(), QString::fromUtf8(s.value));
    }

    // Only 商品名称 ticked: 牛奶 in 商品说明 is skipped; no match leaves the current record.
    for (int k = 1; k < 10; ++k)
        dialog.box(k)->setChecked(false);
    grid.selectRecord(1);
    dialog.findButton()->click();
    EXPECT_EQ(doc.currentIndex(), 1);
    EXPECT_EQ(dialog.resultLabel()->text(), QString::fromUtf8("查找结果"));
    EXPECT_TRUE(dialog.valueEdit()->text().isEmpty());
}
