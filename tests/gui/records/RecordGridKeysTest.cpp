#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>

#include "Bytes.h"
#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/UndoOrder.h"
#include "gui/records/CellEditor.h"
#include "gui/records/RecordGrid.h"

using namespace pemo;
using test::gbk;
using Move = GridCursor::Move;

namespace {

constexpr int kCopiesColumn = 1;
constexpr int kNameColumn = 2;
constexpr int kPriceColumn = 14;  // 现价

class RecordGridKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        setRecords(3);
        grid.resize(600, 228);  // ten rows
        grid.show();
        grid.activateWindow();
        grid.setFocus();
        doc.onChange = [this](CPatDoc::Change change) { grid.documentChanged(change); };
    }

    void setRecords(int count) {
        doc.clear();
        // The library's selected template: a name placeholder.
        doc.newRecordInitializer = [](InfoRecord& r) {
            r.appendBlock(TextBlock::create(0x02020001, {0, 0, 2880, 1440}, gbk("{品名}"), true));
        };
        for (int i = 0; i < count; ++i) doc.records.push_back(doc.newRecord());
        doc.records.front()->current = true;
        doc.setModified(false);
        grid.refreshScroll();
    }

    // Types into the focused widget, as a keyboard with an input method would.
    void type(const QString& text) {
        for (QChar c : text) {
            QWidget* target = grid.isEditing() ? static_cast<QWidget*>(grid.cellEditor()) : &grid;
            if (c == QLatin1Char('\t')) {
                QTest::keyClick(target, Qt::Key_Tab);
            } else if (c == QLatin1Char('\n')) {
                QTest::keyClick(target, Qt::Key_Return);
            } else if (c.unicode() < 0x80) {
                QTest::keyClick(target, c.toLatin1());
            } else {
                QInputMethodEvent event;
                event.setCommitString(c);
                QApplication::sendEvent(target, &event);
            }
        }
    }

    CPatDoc doc;
    RecordGrid grid{doc};
};

}  // namespace

TEST_F(RecordGridKeysTest, TypedProductsFillTheRowsAndNewRecordsFollow) {
    grid.placeCursor(1, kNameColumn);
    // Name, then Tab, Tab, … to 现价; Enter goes back to the name on the next row.
    QString price;
    for (int k = kNameColumn; k < kPriceColumn; ++k) price += QLatin1Char('\t');
    type(QString::fromUtf8("鲜牛奶") + price + QStringLiteral("12.5\n"));
    type(QString::fromUtf8("面包") + price + QStringLiteral("3\n"));
    type(QString::fromUtf8("红酒") + price + QStringLiteral("88\n"));  // the empty row

    ASSERT_EQ(doc.recordCount(), 4);
    EXPECT_EQ(doc.records[1]->value(0), gbk("鲜牛奶"));
    EXPECT_EQ(doc.records[1]->value(InfoRecord::kCurrentPrice), "12.5");
    EXPECT_EQ(doc.records[2]->value(0), gbk("面包"));
    EXPECT_EQ(doc.records[3]->value(0), gbk("红酒"));
    EXPECT_EQ(doc.records[3]->value(InfoRecord::kCurrentPrice), "88");
    // The new record is made on the selected template and shows its value there.
    ASSERT_EQ(doc.records[3]->blocks.size(), 1u);
    EXPECT_EQ(doc.records[3]->blocks.front()->plainText(), gbk("红酒"));
    EXPECT_EQ(grid.cursor().row(), 4);
    EXPECT_EQ(grid.cursor().column(), kNameColumn);
    EXPECT_EQ(doc.currentIndex(), 3);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.records[1]->undoHistory.count(), 2);  // one step per committed cell
}

TEST_F(RecordGridKeysTest, EditCommittedCancelledAndUndone) {
    InfoRecord& record = *doc.records[0];
    const struct {
        const char* name;
        std::function<void()> keys;
        QByteArray value;
        int snapshots;
        bool modified;
    } steps[] = {
        {"typed and committed with Enter", [&] { type(QStringLiteral("milk\n")); }, "milk", 1,
         true},
        {"Esc cancels", [&] { type(QStringLiteral("bread")); QTest::keyClick(grid.cellEditor(), Qt::Key_Escape); },
         "milk", 1, false},
        {"F2 keeps the value, Alt+Enter breaks the line",
         [&] {
             QTest::keyClick(&grid, Qt::Key_F2);
             QTest::keyClick(grid.cellEditor(), Qt::Key_Return, Qt::AltModifier);
             type(QStringLiteral("1L\t"));
         },
         "milk\r\n1L", 2, true},
        {"the same text again changes nothing",
         [&] {
             QTest::keyClick(&grid, Qt::Key_F2);
             QTest::keyClick(grid.cellEditor(), Qt::Key_Tab);
         },
         "milk\r\n1L", 2, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        grid.placeCursor(0, kNameColumn);
        doc.setModified(false);
        s.keys();
        EXPECT_FALSE(grid.isEditing());
        EXPECT_EQ(record.value(0), s.value);
        EXPECT_EQ(record.undoHistory.count(), s.snapshots);
        EXPECT_EQ(doc.isModified(), s.modified);
    }
    EXPECT_TRUE(record.blocks.front()->plainText().endsWith("1L"));
    ASSERT_TRUE(record.undo());
    EXPECT_EQ(record.value(0), "milk");
    EXPECT_EQ(record.blocks.front()->plainText(), "milk");
}

TEST_F(RecordGridKeysTest, RefusedTextLeavesTheCellAsItWas) {
    doc.records[0]->setValue(0, "milk");
    const struct {
        const char* name;
        int column;
        QString typed;
        QString message;
    } cases[] = {
        {"a character GBK cannot hold", kNameColumn, QString::fromUtf8("奶\xF0\x9F\x98\x80"),
         QString::fromUtf8("输入的文字中有无法保存的字符，请改用其他字符。")},
        {"copies above 999", kCopiesColumn, QStringLiteral("1000"),
         QString::fromUtf8("“请填入一个在0和999之间的整数。”")},
        {"copies left empty", kCopiesColumn, QString(), QString::fromUtf8("请键入一个整数。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedMessages messages;
        grid.placeCursor(0, c.column);
        QTest::keyClick(&grid, Qt::Key_F2);
        grid.cellEditor()->setPlainText(c.typed);
        QTest::keyClick(grid.cellEditor(), Qt::Key_Return);
        EXPECT_EQ(messages.informed, QStringList{c.message});
        // The editor stays for the text to be put right; Esc gives up.
        EXPECT_TRUE(grid.isEditing());
        QTest::keyClick(grid.cellEditor(), Qt::Key_Escape);
        EXPECT_EQ(doc.records[0]->value(0), "milk");
        EXPECT_EQ(doc.records[0]->copies, 1);
        EXPECT_EQ(doc.records[0]->undoHistory.count(), 0);
        EXPECT_FALSE(doc.isModified());
    }
    // Copies 999 are taken, without an undo step, as the popup takes them.
    grid.placeCursor(0, kCopiesColumn);
    type(QStringLiteral("999\n"));
    EXPECT_EQ(doc.records[0]->copies, 999);
    EXPECT_EQ(doc.records[0]->undoHistory.count(), 0);
}

TEST_F(RecordGridKeysTest, EmptyRowMakesARecordOnlyWhenSomethingIsTyped) {
    grid.placeCursor(3, kNameColumn);
    EXPECT_EQ(grid.cursor().row(), 3);
    EXPECT_EQ(doc.currentIndex(), 0);  // the empty row is no record
    type(QStringLiteral("x"));
    QTest::keyClick(grid.cellEditor(), Qt::Key_Escape);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(doc.recordCount(), 3);
    EXPECT_FALSE(doc.isModified());

    test::ScriptedMessages messages;
    type(QStringLiteral("tea\t"));
    ASSERT_EQ(doc.recordCount(), 4);
    EXPECT_EQ(doc.records[3]->value(0), "tea");
    EXPECT_EQ(doc.currentIndex(), 3);
    EXPECT_EQ(grid.cursor().column(), kNameColumn + 1);
    EXPECT_TRUE(messages.informed.isEmpty());
}

TEST_F(RecordGridKeysTest, PasteFromTheClipboardAsksBeforeOverwritingAndUndoesInOneStep) {
    setRecords(50);
    doc.records[21]->setValue(1, "kept?");
    QString text;
    for (int r = 0; r < 40; ++r)
        text += QString::fromUtf8("商品%1\t\"规格\t\"\"A\"\"\"\t%1.5\n").arg(r);
    QApplication::clipboard()->setText(text);
    grid.placeCursor(20, kNameColumn);

    {
        test::ScriptedMessages refuse{Messages::Answer::No};
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(refuse.asked.size(), 1);
        EXPECT_EQ(doc.recordCount(), 50);
        EXPECT_EQ(doc.records[21]->value(1), "kept?");
    }
    const QByteArray shownBefore = doc.records[20]->blocks.front()->plainText();
    test::ScriptedMessages agree{Messages::Answer::Yes};
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(doc.recordCount(), 60);
    EXPECT_EQ(doc.records[20]->value(0), gbk("商品0"));
    EXPECT_EQ(doc.records[21]->value(1), gbk("规格\t\"A\""));
    EXPECT_EQ(doc.records[59]->value(2), "39.5");
    EXPECT_EQ(doc.records[20]->blocks.front()->plainText(), gbk("商品0"));
    EXPECT_EQ(grid.cursor().selection(), QRect(QPoint(kNameColumn, 20), QPoint(kNameColumn + 2, 59)));
    EXPECT_TRUE(doc.isModified());

    // Copying the block gives the same text back.
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text() + QLatin1Char('\n'), text);

    ASSERT_TRUE(UndoOrder::undo(doc));
    EXPECT_EQ(doc.recordCount(), 50);
    EXPECT_EQ(doc.records[21]->value(1), "kept?");
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(doc.records[size_t(i)]->value(0).isEmpty()) << i;
    EXPECT_EQ(doc.records[20]->blocks.front()->plainText(), shownBefore);
    ASSERT_TRUE(UndoOrder::redo(doc));
    EXPECT_EQ(doc.recordCount(), 60);
    EXPECT_EQ(doc.records[21]->value(1), gbk("规格\t\"A\""));
}
