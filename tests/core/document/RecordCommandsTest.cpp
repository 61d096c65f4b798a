#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "Bytes.h"
#include "ScriptedMessages.h"
#include "TestBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"

using namespace pemo;
using test::makeBlock;
using test::ScriptedMessages;
namespace RC = pemo::RecordCommand;
using Answer = Messages::Answer;

namespace {

class RecordCommandsTest : public testing::Test {
protected:
    void SetUp() override { test::registerTestBlocks(); }

    // n records tagged "r0", "r1", … in value 0; record `current` is current.
    void fill(int n, int current) {
        doc.newDocument();
        while (doc.recordCount() < n) doc.records.push_back(doc.newRecord());
        for (int i = 0; i < n; ++i) doc.recordAt(i)->setValue(0, "r" + QByteArray::number(i));
        doc.setCurrentIndex(current);
        doc.setModified(false);
    }

    // The tags in list order; an untagged record shows as "-".
    QByteArrayList tags() const {
        QByteArrayList out;
        for (const auto& r : doc.records) out << (r->value(0).isEmpty() ? "-" : r->value(0));
        return out;
    }

    int currentFlags() const {
        int n = 0;
        for (const auto& r : doc.records) n += r->current ? 1 : 0;
        return n;
    }

    CPatDoc doc;
    RecordCommands commands{doc};
    RecordCommandContext context;
};

}  // namespace

TEST_F(RecordCommandsTest, DeleteMakesTheRecordAtTheOldIndexCurrent) {
    const struct {
        int current;
        QByteArrayList left;
        int newCurrent;
    } cases[] = {
        {2, {"r0", "r1"}, 1},  // the last: the new last record
        {0, {"r1", "r2"}, 0},  // the first: the former second record
        {1, {"r0", "r2"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        fill(3, c.current);
        ScriptedMessages script{Answer::Yes};
        ASSERT_TRUE(commands.isEnabled(RC::Delete, context));
        EXPECT_TRUE(commands.execute(RC::Delete, context));
        EXPECT_EQ(tags(), c.left);
        EXPECT_EQ(doc.currentIndex(), c.newCurrent);
        EXPECT_EQ(currentFlags(), 1);
        EXPECT_TRUE(doc.isModified());
    }
    fill(1, 0);
    EXPECT_FALSE(commands.isEnabled(RC::Delete, context));
    EXPECT_FALSE(commands.execute(RC::Delete, context));
    EXPECT_EQ(doc.recordCount(), 1);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(RecordCommandsTest, DeleteEmptyRecords) {
    ScriptedMessages script{Answer::Yes, Answer::Yes};
    // All empty: one new record is left, current.
    fill(3, 2);
    for (auto& r : doc.records) r->clearValues();
    ASSERT_TRUE(commands.isEnabled(RC::DeleteEmpty, context));
    EXPECT_TRUE(commands.execute(RC::DeleteEmpty, context));
    ASSERT_EQ(doc.recordCount(), 1);
    EXPECT_EQ(doc.currentIndex(), 0);
    EXPECT_TRUE(doc.recordAt(0)->isEmpty());
    EXPECT_EQ(doc.recordAt(0)->copies, 1);
    EXPECT_TRUE(doc.isModified());

    // Mixed: only the empty ones go, and the first record becomes current. A record
    // holding only a product picture is not empty; blocks do not count.
    fill(6, 4);
    doc.recordAt(1)->clearValues();
    doc.recordAt(1)->appendBlock(makeBlock(BlockKind::FixedText, {0, 0, 10, 10}));
    doc.recordAt(3)->clearValues();
    doc.recordAt(4)->clearValues();
    doc.recordAt(5)->clearValues();
    doc.recordAt(5)->productPicture = "pic";
    EXPECT_TRUE(commands.execute(RC::DeleteEmpty, context));
    EXPECT_EQ(tags(), (QByteArrayList{"r0", "r2", "-"}));
    EXPECT_EQ(doc.recordAt(2)->productPicture, QByteArray("pic"));
    EXPECT_EQ(doc.currentIndex(), 0);
    EXPECT_EQ(currentFlags(), 1);

    // Disabled with a single record or without an empty one.
    fill(3, 0);
    EXPECT_FALSE(commands.isEnabled(RC::DeleteEmpty, context));
    fill(1, 0);
    doc.recordAt(0)->clearValues();
    EXPECT_FALSE(commands.isEnabled(RC::DeleteEmpty, context));
}

TEST_F(RecordCommandsTest, Navigation) {
    const struct {
        int id;
        int count, current, rows;
        int expected;  // -1: disabled
    } cases[] = {
        {RC::NextGroup, 12, 9, 5, 11},
        {RC::NextGroup, 12, 3, 5, 8},
        {RC::NextGroup, 12, 10, 1, 11},
        {RC::NextGroup, 12, 11, 5, -1},
        {RC::PreviousGroup, 12, 3, 5, 0},
        {RC::PreviousGroup, 12, 7, 5, 2},
        {RC::PreviousGroup, 12, 5, 5, 0},
        {RC::PreviousGroup, 12, 0, 5, -1},
        {RC::First, 12, 5, 5, 0},
        {RC::First, 12, 0, 5, -1},
        {RC::Last, 12, 5, 5, 11},
        {RC::Last, 12, 11, 5, -1},
        {RC::Previous, 12, 5, 5, 4},
        {RC::Previous, 12, 0, 5, -1},
        {RC::Next, 12, 5, 5, 6},
        {RC::Next, 12, 11, 5, -1},
        {RC::Next, 1, 0, 5, -1},
        {RC::Last, 1, 0, 5, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " from " << c.current);
        fill(c.count, c.current);
        context.visibleRowCount = c.rows;
        EXPECT_EQ(commands.isEnabled(c.id, context), c.expected >= 0);
        EXPECT_EQ(commands.execute(c.id, context), c.expected >= 0);
        EXPECT_EQ(doc.currentIndex(), c.expected >= 0 ? c.expected : c.current);
        EXPECT_EQ(currentFlags(), 1);
        EXPECT_EQ(doc.recordCount(), c.count);
        EXPECT_FALSE(doc.isModified());  // moving the current record changes no record
    }
}

TEST_F(RecordCommandsTest, InsertPutsNewRecordsAfterTheCurrentOne) {
    fill(3, 1);
    EXPECT_TRUE(commands.isEnabled(RC::InsertFirst + 2, context));
    EXPECT_TRUE(commands.execute(RC::InsertFirst + 2, context));
    EXPECT_EQ(tags(), (QByteArrayList{"r0", "r1", "-", "-", "-", "r2"}));
    EXPECT_EQ(doc.currentIndex(), 1);
    EXPECT_EQ(currentFlags(), 1);
    EXPECT_TRUE(doc.isModified());

    // New records go through the document's initializer (the library's choice).
    doc.newRecordInitializer = [](InfoRecord& r) { r.setValue(1, "init"); };
    fill(2, 1);
    EXPECT_TRUE(commands.execute(RC::InsertLast, context));
    ASSERT_EQ(doc.recordCount(), 22);
    EXPECT_EQ(doc.recordAt(21)->value(1), QByteArray("init"));
    EXPECT_EQ(doc.currentIndex(), 1);

    // The menu button itself inserts nothing.
    EXPECT_TRUE(commands.isEnabled(RC::InsertMenu, context));
    EXPECT_FALSE(commands.execute(RC::InsertMenu, context));
    EXPECT_EQ(doc.recordCount(), 22);
}

TEST_F(RecordCommandsTest, PrintQueueCommands) {
    fill(3, 1);
    doc.recordAt(0)->copies = 3;
    doc.recordAt(1)->copies = 0;
    doc.recordAt(2)->copies = 2;
    EXPECT_EQ(doc.queuedCount(), 2);
    EXPECT_EQ(doc.totalCopies(), 5);
    EXPECT_EQ(doc.queuedRecord(1), doc.recordAt(2));

    EXPECT_FALSE(commands.execute(RC::CancelCurrentPrint, context));
    EXPECT_TRUE(commands.execute(RC::SetCurrentPrint, context));
    EXPECT_EQ(doc.recordAt(1)->copies, 1);
    EXPECT_TRUE(commands.execute(RC::CancelCurrentPrint, context));
    EXPECT_EQ(doc.recordAt(1)->copies, 0);

    // 全选打印队列 lowers larger counts to 1.
    EXPECT_TRUE(commands.execute(RC::QueueAll, context));
    for (const auto& r : doc.records) EXPECT_EQ(r->copies, 1);
    EXPECT_EQ(doc.queuedCount(), 3);
    EXPECT_EQ(doc.totalCopies(), 3);
    EXPECT_EQ(doc.queuedRecord(2), doc.recordAt(2));
    EXPECT_TRUE(doc.isModified());

    EXPECT_TRUE(commands.execute(RC::QueueNone, context));
    EXPECT_EQ(doc.totalCopies(), 0);
    EXPECT_EQ(doc.queuedRecord(0), nullptr);
}

TEST_F(RecordCommandsTest, ClearEmptiesValuesKeepsBlocksAndCanBeUndone) {
    fill(2, 1);
    InfoRecord& r = *doc.recordAt(1);
    r.setValue(InfoRecord::kDiscount, "8折");
    r.productPicture = "pic";
    r.appendBlock(makeBlock(BlockKind::OriginalPrice, {0, 0, 100, 100}));
    ASSERT_TRUE(commands.isEnabled(RC::Clear, context));
    EXPECT_TRUE(commands.execute(RC::Clear, context));
    EXPECT_TRUE(r.isEmpty());
    EXPECT_EQ(r.blocks.size(), 1u);
    EXPECT_EQ(doc.recordAt(0)->value(0), QByteArray("r0"));
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(commands.isEnabled(RC::Clear, context));

    ASSERT_TRUE(r.undoHistory.canUndo());
    EXPECT_TRUE(r.undo());
    EXPECT_EQ(r.value(0), QByteArray("r1"));
    EXPECT_EQ(r.value(InfoRecord::kDiscount), QByteArray("8折"));
    EXPECT_EQ(r.productPicture, QByteArray("pic"));
}

TEST_F(RecordCommandsTest, PageSizeNames) {
    const struct {
        int w, h;
        const char* name;
    } cases[] = {
        {190, 280, "(A4幅面)"}, {280, 400, "(A3幅面)"},   {400, 580, "(A2幅面)"},
        {580, 820, "(A1幅面)"}, {820, 1170, "(A0幅面)"},  {280, 190, "(280x190)"},
        {200, 300, "(200x300)"}, {190, 281, "(190x281)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordCommands::pageSizeName(c.w, c.h), QString::fromUtf8(c.name)) << c.name;
    }
}

TEST_F(RecordCommandsTest, UnifySizeAsksAndResizesEveryRecord) {
    fill(3, 1);
    doc.recordAt(1)->setPageSize(280, 400);  // the current record: A3
    doc.recordAt(0)->appendBlock(makeBlock(BlockKind::Rectangle, {1000, 2000, 3001, 4003}));
    doc.recordAt(0)->takeUndoSnapshot();
    doc.recordAt(0)->inPlaceEditing = true;
    doc.setModified(false);
    ASSERT_TRUE(commands.isEnabled(RC::UnifySize, context));

    {
        ScriptedMessages script{Answer::No};
        EXPECT_FALSE(commands.execute(RC::UnifySize, context));
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_EQ(script.asked[0], QString::fromUtf8("全部信息的页面尺寸统一设置为(A3幅面)?"));
        EXPECT_EQ(script.lastButtons, Messages::Buttons::YesNo);
    }
    EXPECT_EQ(doc.recordAt(0)->widthMm, 190);
    EXPECT_EQ(doc.recordAt(0)->undoHistory.count(), 1);
    EXPECT_FALSE(doc.isModified());

    {
        ScriptedMessages script{Answer::Yes};
        EXPECT_TRUE(commands.execute(RC::UnifySize, context));
        EXPECT_EQ(script.asked.size(), 1);
    }
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const InfoRecord& r = *doc.recordAt(i);
        EXPECT_EQ(r.widthMm, 280);
        EXPECT_EQ(r.heightMm, 400);
        EXPECT_EQ(r.widthTw, 15874);
        EXPECT_EQ(r.heightTw, 22677);
        // The histories are emptied, not added to.
        EXPECT_EQ(r.undoHistory.count(), 0);
        EXPECT_EQ(r.undoHistory.undoIndex(), -1);
        EXPECT_FALSE(r.inPlaceEditing);
    }
    EXPECT_EQ(doc.recordAt(0)->blocks[0]->frame, (TwipsRect{1473, 2857, 4422, 5718}));
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(commands.isEnabled(RC::UnifySize, context));

    fill(1, 0);
    EXPECT_FALSE(commands.isEnabled(RC::UnifySize, context));
}


TEST_F(RecordCommandsTest, UnifyTemplateCountsTheRecordsAndStopsAtAnUnreadableTemplate) {
    fill(250, 0);
    context.templateChoice.selected = true;
    context.templateChoice.templateName = "T";
    std::vector<std::pair<int, int>> told;
    context.progress = [&told](int done, int total) { told.emplace_back(done, total); };
    struct Case {
        bool readable;
        bool changed;
        int calls;
    };
    for (const Case& c : {Case{true, true, 250}, Case{false, false, 1}}) {
        SCOPED_TRACE(c.readable);
        doc.setModified(false);
        told.clear();
        int calls = 0;
        context.applyTemplate = [&](InfoRecord&, const QString&) {
            ++calls;
            return c.readable;
        };
        ScriptedMessages script{Answer::Yes};
        EXPECT_EQ(commands.execute(RC::UnifyTemplate, context), c.changed);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(doc.isModified(), c.changed);
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told.front(), std::make_pair(0, 250));
        EXPECT_EQ(told.back(), std::make_pair(250, 250));
    }
}
