#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "Bytes.h"
#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"
#include "core/document/UndoOrder.h"
#include "core/records/GridCells.h"
#include "core/records/GridPaste.h"
#include "core/records/PriceUpdate.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

using namespace pemo;
using test::gbk;
namespace RC = pemo::RecordCommand;
using Answer = Messages::Answer;

namespace {

// Four products on one page (their name and price on it), the second on another
// background, the first current; the list's files (a delimited text of name and price)
// are written into a folder of the test's own.
class UndoOrderTest : public testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        doc.newDocument();
        doc.records.clear();
        for (int i = 0; i < 4; ++i) {
            auto r = std::make_unique<InfoRecord>();
            r->setValue(0, "p" + QByteArray::number(i));
            r->setValue(InfoRecord::kCurrentPrice, QByteArray::number(i + 1) + ".00");
            r->appendBlock(TextBlock::create(BlockKind::FirstVariable, {500, 500, 9000, 2500}, "x", true));
            r->appendBlock(TextBlock::create(BlockKind::CurrentPrice, {500, 3000, 9000, 6000}, "x", true));
            r->refreshPlaceholders(false, doc.placeholderSources());
            if (i == 1) r->background.name = "blue";
            doc.records.push_back(std::move(r));
        }
        doc.records.front()->current = true;
    }

    // A correction typed into a row: the cursor moves there, then the record changes.
    void edit(int index, const QByteArray& name) {
        ASSERT_TRUE(doc.setCurrentIndex(index));
        InfoRecord& r = *doc.currentRecord();
        r.takeUndoSnapshot();
        r.setValue(0, name);
        r.refreshPlaceholders(false, doc.placeholderSources());
    }

    // Each record as "name price copies background: the text its name block shows".
    QByteArrayList describe() const {
        QByteArrayList out;
        for (const auto& r : doc.records) {
            out << r->value(0) + " " + r->value(InfoRecord::kCurrentPrice) + " " +
                       QByteArray::number(r->copies) + " " + r->background.name + ": " +
                       (r->blocks.empty() ? QByteArray("-") : r->blocks.front()->plainText());
        }
        return out;
    }

    QString writeList(const char* utf8) {
        const QString path = dir.filePath(QStringLiteral("list%1.csv").arg(++files));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(gbk(utf8));
        return path;
    }

    static ImportSettings::Columns nameAndPrice() {
        ImportSettings::Columns columns{};
        columns[0] = 1;
        columns[InfoRecord::kCurrentPrice] = 2;
        return columns;
    }

    // The import as 导入TXT文件 runs it: the file read, the records built, then put in
    // place as one step of the list's history.
    void import(const char* rows, ImportTarget::Records mode) {
        const TableSheet sheet(writeList(rows), ',');
        RecordImport import(doc, nameAndPrice());
        ASSERT_TRUE(import.build(sheet, 1, false)) << import.message().toStdString();
        doc.listHistory().record(QString::fromUtf8("导入"), [&] { import.apply(true, mode); });
    }

    // The price update as 按价格表更新 runs it, keyed on the name.
    void updatePrices(const char* rows) {
        const TableSheet sheet(writeList(rows), ',');
        PriceUpdate update(nameAndPrice(), 0);
        ASSERT_TRUE(update.plan(doc, sheet, 1)) << update.message().toStdString();
        doc.listHistory().record(QString::fromUtf8("按价格表更新"), [&] { update.apply(doc); });
    }

    QTemporaryDir dir;
    int files = 0;
    CPatDoc doc;
    RecordCommands commands{doc};
    RecordCommandContext context;
};

}  // namespace

// A correction typed into another row after a change of the list is the newest change:
// 撤消 takes it back first, on its own record, then the list's change, then the change
// before it; 恢复 puts all three back in their order.
TEST_F(UndoOrderTest, UndoTakesBackTheNewestChangeWhicheverRecordItTouched) {
    const struct {
        const char* name;
        std::function<void()> change;
    } cases[] = {
        {"信息删除",
         [this] {
             test::ScriptedMessages yes{Answer::Yes};
             doc.setCurrentIndex(3);
             ASSERT_TRUE(commands.execute(RC::Delete, context));
         }},
        {"信息插入", [this] { ASSERT_TRUE(commands.execute(RC::InsertFirst + 1, context)); }},
        {"清空打印队列", [this] { ASSERT_TRUE(commands.execute(RC::QueueNone, context)); }},
        {"应用到所有信息", [this] { ASSERT_TRUE(commands.execute(RC::ApplyDesign, context)); }},
        {"导入 appended", [this] { import("新1,7.00\n新2,8.00\n", ImportTarget::Records::Append); }},
        {"导入 in place", [this] { import("新1,7.00\n新2,8.00\n", ImportTarget::Records::Replace); }},
        {"按价格表更新", [this] { updatePrices("p2,9.90\n新,5.00\n"); }},
        {"粘贴 into rows and after them",
         [this] { GridPaste(GridCells::parseClipboard(QStringLiteral("x\ny\nz\n")), 2, 2).apply(doc, false); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const QByteArrayList start = describe();
        edit(1, "e1");
        const QByteArrayList afterFirst = describe();
        c.change();
        const QByteArrayList afterList = describe();
        ASSERT_NE(afterList, afterFirst);
        edit(2, "e2");
        InfoRecord* corrected = doc.currentRecord();
        doc.setCurrentIndex(doc.recordCount() - 1);  // the cursor moves on
        const QByteArrayList end = describe();

        ASSERT_EQ(UndoOrder::nextUndo(doc).record, corrected);
        ASSERT_TRUE(UndoOrder::undo(doc));
        EXPECT_EQ(describe(), afterList);
        EXPECT_EQ(doc.currentRecord(), corrected) << "the record changed is shown";
        ASSERT_TRUE(UndoOrder::undo(doc));
        EXPECT_EQ(describe(), afterFirst);
        ASSERT_TRUE(UndoOrder::undo(doc));
        EXPECT_EQ(describe(), start);
        EXPECT_FALSE(UndoOrder::canUndo(doc));

        ASSERT_TRUE(UndoOrder::redo(doc));
        EXPECT_EQ(describe(), afterFirst);
        ASSERT_TRUE(UndoOrder::redo(doc));
        EXPECT_EQ(describe(), afterList);
        ASSERT_TRUE(UndoOrder::redo(doc));
        EXPECT_EQ(describe(), end);
        EXPECT_FALSE(UndoOrder::canRedo(doc));
    }
}

// What no history keeps — a copies count set on a row, a background chosen for the
// record shown — stays when a change of the list is taken back, unless that change made
// it; 恢复 then gives back what 撤消 found.
TEST_F(UndoOrderTest, ChangesNoHistoryKeepsStayUnlessTheStepMadeThem) {
    const struct {
        const char* name;
        int listCommand;
        int copiesAfterUndo;  // of record 0, set to 5 after the step
    } cases[] = {
        {"a step that leaves copies alone", RC::InsertFirst, 5},
        {"a step that set the copies", RC::QueueNone, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_TRUE(commands.execute(c.listCommand, context));
        doc.recordAt(0)->copies = 5;
        doc.records.back()->background.name = "red";
        const int count = doc.recordCount();
        ASSERT_TRUE(UndoOrder::undo(doc));
        EXPECT_EQ(doc.recordCount(), 4);
        EXPECT_EQ(doc.recordAt(0)->copies, c.copiesAfterUndo);
        EXPECT_EQ(doc.records.back()->background.name, "red");
        ASSERT_TRUE(UndoOrder::redo(doc));
        EXPECT_EQ(doc.recordCount(), count);
        EXPECT_EQ(doc.recordAt(0)->copies, 5) << "as it was before 撤消";
        EXPECT_EQ(doc.records.back()->background.name, "red");
    }
}

// Nothing is taken back past a change that can no longer be: the older changes would
// otherwise throw it away.
TEST_F(UndoOrderTest, NothingIsTakenBackPastAChangeThatCannotBe) {
    // A record's history out of room after a change of the list.
    ASSERT_TRUE(commands.execute(RC::QueueNone, context));
    for (int k = 1; k <= UndoHistory::kCapacity + 1; ++k) edit(1, "n" + QByteArray::number(k));
    int undone = 0;
    while (UndoOrder::undo(doc)) ++undone;
    EXPECT_EQ(undone, UndoHistory::kCapacity - 1);
    EXPECT_EQ(doc.recordAt(1)->value(0), "n2");
    EXPECT_EQ(doc.recordAt(0)->copies, 0) << "the queue stays cleared";

    // A history emptied outside any step (a template read into the record).
    SetUp();
    edit(1, "e1");
    doc.recordAt(2)->resetUndo();
    EXPECT_FALSE(UndoOrder::canUndo(doc));

    // The list's history out of room: the correction before its oldest step stays.
    SetUp();
    edit(1, "e1");
    for (int k = 0; k <= ListHistory::kCapacity; ++k) {
        ASSERT_TRUE(commands.execute(k % 2 ? RC::QueueAll : RC::QueueNone, context));
    }
    undone = 0;
    while (UndoOrder::undo(doc)) ++undone;
    EXPECT_EQ(undone, ListHistory::kCapacity);
    EXPECT_EQ(doc.recordAt(1)->value(0), "e1");
}

// 恢复 puts back only what nothing has been changed since: any change anywhere ends it.
TEST_F(UndoOrderTest, AChangeOnAnotherRecordEndsRedo) {
    edit(1, "e1");
    ASSERT_TRUE(UndoOrder::undo(doc));
    ASSERT_TRUE(UndoOrder::canRedo(doc));
    edit(2, "e2");
    doc.setCurrentIndex(1);
    EXPECT_FALSE(UndoOrder::canRedo(doc));
    EXPECT_FALSE(UndoOrder::redo(doc));
    EXPECT_EQ(doc.recordAt(1)->value(0), "p1");
}

// 全选打印队列 leaves out the empty record an import keeps at the end for typing: it would
// print a blank sign. Empty records on a list without products (posters) are queued.
TEST_F(UndoOrderTest, QueueAllLeavesTheRecordForTypingOut) {
    import("新1,7.00\n新2,8.00\n", ImportTarget::Records::Append);
    ASSERT_TRUE(commands.execute(RC::QueueNone, context));
    ASSERT_TRUE(commands.execute(RC::QueueAll, context));
    ASSERT_EQ(doc.recordCount(), 7);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(doc.recordAt(i)->copies, 1) << i;
    EXPECT_TRUE(doc.records.back()->isEmpty());
    EXPECT_EQ(doc.records.back()->copies, 0);

    doc.newDocument();
    doc.recordAt(0)->copies = 0;
    doc.records.push_back(doc.newRecord());
    ASSERT_TRUE(commands.execute(RC::QueueAll, context));
    EXPECT_EQ(doc.totalCopies(), 2);
}
