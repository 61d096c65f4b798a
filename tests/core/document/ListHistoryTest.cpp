#include <gtest/gtest.h>

#include "ScriptedMessages.h"
#include "TestBlock.h"
#include "core/blocks/BlockKind.h"
#include "core/document/CPatDoc.h"
#include "core/document/PageDesign.h"
#include "core/document/RecordCommands.h"
#include "core/document/UndoOrder.h"

using namespace pemo;
using test::makeBlock;
using test::ScriptedMessages;
using test::TestBlock;
namespace RC = pemo::RecordCommand;
using Answer = Messages::Answer;
using Side = UndoOrder::Side;

namespace {

class ListHistoryTest : public testing::Test {
protected:
    void SetUp() override {
        test::registerTestBlocks();
        doc.newDocument();
        // Four products, each with its own design, picture, copies and a name block.
        while (doc.recordCount() < 4) doc.records.push_back(doc.newRecord());
        for (int i = 0; i < 4; ++i) {
            InfoRecord& r = *doc.recordAt(i);
            r.setValue(0, "p" + QByteArray::number(i));
            r.productPicture = i == 2 ? QByteArray() : "pic" + QByteArray::number(i);
            r.copies = i;
            r.resizePage(100 + i, 150);
            r.background.name = "bg" + QByteArray::number(i);
            r.appendBlock(makeBlock(BlockKind::FirstVariable, {10 * i, 0, 10 * i + 50, 20}));
            if (i == 1) r.appendBlock(makeBlock(BlockKind::FixedText, {5, 5, 40, 40}));
            r.refreshPlaceholders(false, doc.placeholderSources());
        }
        doc.setCurrentIndex(1);
        doc.setModified(false);
    }

    // The tests after these read real blocks.
    void TearDown() override { test::useProgramBlocks(); }

    // Each record as one line: value, picture, copies, size, background, blocks (kind at
    // left edge) and the text its name block shows; the current one marked.
    QByteArrayList describe() const {
        QByteArrayList out;
        for (const auto& r : doc.records) {
            QByteArray line = r->value(0) + "|" + r->productPicture + "|" +
                              QByteArray::number(r->copies) + "|" +
                              QByteArray::number(r->widthMm) + "x" +
                              QByteArray::number(r->heightMm) + "|" + r->background.name + "|";
            for (const auto& b : r->blocks) {
                line += QByteArray::number(b->kind) + "@" + QByteArray::number(b->frame.left) +
                        ":" + static_cast<const TestBlock&>(*b).shownText + " ";
            }
            if (r->current) line += "*";
            out << line;
        }
        return out;
    }

    CPatDoc doc;
    RecordCommands commands{doc};
    RecordCommandContext context;
};

}  // namespace

// Every list command is one step: 撤消 brings back every record as it was, with its
// values, picture, copies and page; 恢复 puts the change back.
TEST_F(ListHistoryTest, EveryListCommandIsOneUndoableStep) {
    const struct {
        int id;
        int current;
    } cases[] = {
        {RC::Delete, 1},      {RC::Delete, 3},   {RC::InsertFirst + 2, 0}, {RC::QueueNone, 2},
        {RC::QueueAll, 2},    {RC::ApplyDesign, 1}, {RC::UnifySize, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        SetUp();
        doc.setCurrentIndex(c.current);
        const QByteArrayList before = describe();
        ScriptedMessages script{Answer::Yes};
        ASSERT_TRUE(commands.execute(c.id, context));
        const QByteArrayList after = describe();
        ASSERT_NE(after, before);
        ASSERT_EQ(UndoOrder::nextUndo(doc).side, Side::List);
        EXPECT_EQ(doc.listHistory().undoName(), RecordCommands::stepName(c.id));

        ASSERT_TRUE(doc.listHistory().undo());
        EXPECT_EQ(describe(), before);
        EXPECT_EQ(UndoOrder::nextRedo(doc).side, Side::List);
        ASSERT_TRUE(doc.listHistory().redo());
        EXPECT_EQ(describe(), after);
        ASSERT_TRUE(doc.listHistory().undo());
        EXPECT_EQ(describe(), before);
        EXPECT_FALSE(doc.listHistory().canUndo());
    }
}

TEST_F(ListHistoryTest, AnsweringNoIsNoStep) {
    for (int id : {RC::Delete, RC::UnifySize, RC::DeleteEmpty}) {
        SCOPED_TRACE(id);
        SetUp();
        doc.recordAt(2)->clearValues();
        doc.recordAt(2)->productPicture.clear();
        const QByteArrayList before = describe();
        ScriptedMessages script{Answer::No};
        EXPECT_FALSE(commands.execute(id, context));
        EXPECT_EQ(script.asked.size(), 1);
        EXPECT_EQ(describe(), before);
        EXPECT_FALSE(doc.listHistory().canUndo());
    }
}

TEST_F(ListHistoryTest, DeleteAsksNamingTheRecord) {
    ScriptedMessages script{Answer::Yes};
    ASSERT_TRUE(commands.execute(RC::Delete, context));
    ASSERT_EQ(script.asked.size(), 1);
    EXPECT_EQ(script.asked[0], QString::fromUtf8("删除第2项信息?"));
    EXPECT_EQ(script.lastButtons, Messages::Buttons::YesNo);
}

// A record given back keeps its own page history: its own 撤消 still works.
TEST_F(ListHistoryTest, RecordsGivenBackKeepTheirOwnHistory) {
    InfoRecord* second = doc.recordAt(1);
    second->takeUndoSnapshot();
    second->blocks.front()->frame = {500, 0, 550, 20};
    ScriptedMessages script{Answer::Yes};
    ASSERT_TRUE(commands.execute(RC::Delete, context));
    ASSERT_TRUE(doc.listHistory().undo());
    InfoRecord* back = doc.recordAt(1);
    ASSERT_TRUE(back->current);
    EXPECT_EQ(back->blocks.front()->frame.left, 500);
    EXPECT_EQ(UndoOrder::nextUndo(doc).side, Side::Record);
    ASSERT_TRUE(back->undo());
    EXPECT_EQ(back->blocks.front()->frame.left, 10);
    // Records that never left the list are the same objects.
    EXPECT_EQ(doc.recordAt(0)->value(0), QByteArray("p0"));
}

TEST_F(ListHistoryTest, KeepsOnlyTheLastTenSteps) {
    for (int i = 0; i < ListHistory::kCapacity + 3; ++i) {
        ASSERT_TRUE(commands.execute(i % 2 ? RC::QueueAll : RC::QueueNone, context));
    }
    EXPECT_EQ(doc.listHistory().count(), ListHistory::kCapacity);
    int undone = 0;
    while (doc.listHistory().undo()) ++undone;
    EXPECT_EQ(undone, ListHistory::kCapacity);
    // Thirteen steps alternating from QueueNone: the oldest kept one is the fourth.
    EXPECT_EQ(doc.recordAt(0)->copies, 0);
}

// 撤消 takes the newer change of the two histories, 恢复 the older one taken back.
TEST_F(ListHistoryTest, UndoAndRedoFollowTheOrderOfChanges) {
    InfoRecord* shown = doc.currentRecord();
    const auto move = [&](int left) {
        doc.currentRecord()->takeUndoSnapshot();
        doc.currentRecord()->blocks.front()->frame.left = left;
    };
    move(111);                                            // record change 1
    ASSERT_TRUE(commands.execute(RC::QueueNone, context));  // list change
    move(222);                                            // record change 2
    const struct {
        bool undo;
        Side side;
        int left;
        int copies;
    } steps[] = {
        {true, Side::Record, 111, 0},  {true, Side::List, 111, 1},
        {true, Side::Record, 10, 1},   {false, Side::Record, 111, 1},
        {false, Side::List, 111, 0},   {false, Side::Record, 222, 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << (s.undo ? "undo " : "redo ") << s.left);
        const Side side = s.undo ? UndoOrder::nextUndo(doc).side : UndoOrder::nextRedo(doc).side;
        ASSERT_EQ(side, s.side);
        ASSERT_TRUE(s.undo ? UndoOrder::undo(doc) : UndoOrder::redo(doc));
        EXPECT_EQ(doc.currentRecord(), shown);
        EXPECT_EQ(doc.currentRecord()->blocks.front()->frame.left, s.left);
        EXPECT_EQ(doc.currentRecord()->copies, s.copies);
    }
    EXPECT_EQ(UndoOrder::nextRedo(doc).side, Side::None);
}

// A change made after a step was taken back ends 恢复 for it: putting the old list
// back would throw that change away.
TEST_F(ListHistoryTest, ANewChangeEndsRedoOfTheList) {
    ASSERT_TRUE(commands.execute(RC::QueueNone, context));
    ASSERT_TRUE(doc.listHistory().undo());
    ASSERT_TRUE(doc.listHistory().canRedo());
    doc.recordAt(3)->takeUndoSnapshot();
    EXPECT_FALSE(doc.listHistory().canRedo());
    EXPECT_EQ(UndoOrder::nextRedo(doc).side, Side::None);
}

// What an import or a later bulk change wraps: one step, kept only when it changed.
TEST_F(ListHistoryTest, WrappedChangesAndNesting) {
    ListHistory& history = doc.listHistory();
    const QByteArrayList before = describe();
    history.record(QString::fromUtf8("导入"), [&] {
        doc.records.clear();
        doc.records.push_back(doc.newRecord());
        doc.records.front()->current = true;
        // A command inside the step belongs to it.
        EXPECT_TRUE(commands.execute(RC::InsertFirst, context));
    });
    EXPECT_EQ(doc.recordCount(), 2);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(history.undoName(), QString::fromUtf8("导入"));
    EXPECT_FALSE(history.record(QString::fromUtf8("价格"), [] { return false; }));
    EXPECT_EQ(history.count(), 1);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(describe(), before);
    EXPECT_THROW(history.record(QString::fromUtf8("坏"), []() -> bool { throw 1; }), int);
    EXPECT_EQ(history.count(), 0);
    history.record(QString::fromUtf8("一"), [] {});
    EXPECT_EQ(history.count(), 1);

    // A new document or an opened one forgets the steps.
    doc.newDocument();
    EXPECT_FALSE(history.canUndo());
}

// 应用到所有信息: the current record's page on every record, each keeping its own
// values, picture and copies, its name block showing its own name.
TEST_F(ListHistoryTest, ApplyDesignKeepsEachRecordsOwnValues) {
    ASSERT_TRUE(commands.execute(RC::ApplyDesign, context));
    const QByteArray name = QByteArray::number(BlockKind::FirstVariable);
    const QByteArray fixed = QByteArray::number(BlockKind::FixedText);
    EXPECT_EQ(describe(), (QByteArrayList{
                              "p0|pic0|0|101x150|bg1|" + name + "@10:p0 " + fixed + "@5: ",
                              "p1|pic1|1|101x150|bg1|" + name + "@10:p1 " + fixed + "@5: *",
                              "p2||2|101x150|bg1|" + name + "@10:p2 " + fixed + "@5: ",
                              "p3|pic3|3|101x150|bg1|" + name + "@10:p3 " + fixed + "@5: ",
                          }));
    // One design now: the records' fingerprints agree whatever their values.
    const QByteArray design = PageDesign::fingerprint(*doc.recordAt(1), doc.placeholderSources());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PageDesign::fingerprint(*doc.recordAt(i), doc.placeholderSources()), design);
    }

    // Records made later take that design too, not the page a new record gets
    // otherwise; taking the command back ends that.
    doc.newRecordInitializer = [](InfoRecord& r) { r.resizePage(55, 66); };
    ASSERT_TRUE(commands.execute(RC::InsertFirst, context));
    const InfoRecord& inserted = *doc.recordAt(2);
    EXPECT_TRUE(inserted.isEmpty());
    EXPECT_EQ(PageDesign::fingerprint(inserted, doc.placeholderSources()), design);
    ASSERT_TRUE(doc.listHistory().undo());
    ASSERT_TRUE(doc.listHistory().undo());
    ASSERT_TRUE(commands.execute(RC::InsertFirst, context));
    EXPECT_EQ(doc.recordAt(2)->widthMm, 55);
    EXPECT_TRUE(doc.recordAt(2)->blocks.empty());
}
