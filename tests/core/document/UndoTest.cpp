#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestBlock.h"
#include "document/InfoRecord.h"

using namespace pemo;

namespace {

class Undo : public testing::Test {
protected:
    void SetUp() override {
        test::registerTestBlocks();
        record.setValue(0, "A");
    }

    // An editing command: a snapshot first, then the change.
    void edit(const QByteArray& to) {
        record.takeUndoSnapshot();
        record.setValue(0, to);
    }
    QByteArray shown() const { return record.value(0); }

    InfoRecord record;
};

struct Step {
    char op;            // E edit, U undo, R redo
    const char* shown;  // the page afterwards (for E: the new page)
    bool canUndo;
    bool canRedo;
};

}  // namespace

TEST_F(Undo, SequencesMoveExactlyOneStateAtATime) {
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"change, undo, redo, undo alternates",
         {{'E', "B", true, false},
          {'U', "A", false, true},
          {'R', "B", true, false},
          {'U', "A", false, true},
          {'R', "B", true, false},
          {'R', "B", true, false}}},
        {"back and forth over three changes",
         {{'E', "B", true, false},
          {'E', "C", true, false},
          {'E', "D", true, false},
          {'U', "C", true, true},
          {'U', "B", true, true},
          {'R', "C", true, true},
          {'R', "D", true, false},
          {'U', "C", true, true},
          {'U', "B", true, true},
          {'U', "A", false, true},
          {'U', "A", false, true},
          {'R', "B", true, true}}},
        {"an edit after undo drops the redo states",
         {{'E', "B", true, false},
          {'E', "C", true, false},
          {'U', "B", true, true},
          {'E', "X", true, false},
          {'R', "X", true, false},
          {'U', "B", true, true},
          {'U', "A", false, true},
          {'R', "B", true, true},
          {'R', "X", true, false}}},
        {"an edit after undoing everything",
         {{'E', "B", true, false},
          {'U', "A", false, true},
          {'E', "Y", true, false},
          {'U', "A", false, true},
          {'R', "Y", true, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        record.resetUndo();
        record.setValue(0, "A");
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            SCOPED_TRACE(testing::Message() << "step " << i << " " << s.op);
            switch (s.op) {
                case 'E': edit(s.shown); break;
                case 'U': record.undo(); break;
                case 'R': record.redo(); break;
            }
            EXPECT_EQ(shown(), QByteArray(s.shown));
            EXPECT_EQ(record.undoHistory.canUndo(), s.canUndo);
            EXPECT_EQ(record.undoHistory.canRedo(), s.canRedo);
        }
    }
}

TEST_F(Undo, UndoAndRedoReportWhetherTheyRestoredAState) {
    EXPECT_FALSE(record.undo());
    EXPECT_FALSE(record.redo());
    edit("B");
    EXPECT_FALSE(record.redo());
    EXPECT_TRUE(record.undo());
    EXPECT_FALSE(record.undo());
    EXPECT_TRUE(record.redo());
    EXPECT_FALSE(record.redo());
}

// With 30 states stored, each new snapshot discards the oldest; storing the live page
// on the first Undo discards one more. Undo must still restore the previous page every
// time, never the page already shown.
TEST_F(Undo, FullHistoryKeepsUndoOnThePreviousState) {
    for (int edits : {29, 30, 31, 32, 45}) {
        SCOPED_TRACE(edits);
        record.resetUndo();
        record.setValue(0, "P0");
        for (int k = 1; k <= edits; ++k) edit("P" + QByteArray::number(k));
        EXPECT_EQ(record.undoHistory.count(), std::min(edits, 30));

        const int oldest = std::max(0, edits - 29);
        for (int k = edits - 1; k >= oldest; --k) {
            ASSERT_TRUE(record.undoHistory.canUndo()) << k;
            ASSERT_TRUE(record.undo());
            ASSERT_EQ(shown(), "P" + QByteArray::number(k));
        }
        EXPECT_FALSE(record.undoHistory.canUndo());
        EXPECT_LE(record.undoHistory.count(), 30);

        for (int k = oldest + 1; k <= edits; ++k) {
            ASSERT_TRUE(record.redo()) << k;
            ASSERT_EQ(shown(), "P" + QByteArray::number(k));
        }
        EXPECT_FALSE(record.undoHistory.canRedo());
    }
}

TEST_F(Undo, EditAfterUndoWithAFullHistory) {
    for (int k = 1; k <= 32; ++k) edit("P" + QByteArray::number(k));
    ASSERT_TRUE(record.undo());
    EXPECT_EQ(shown(), "P31");
    edit("X");
    EXPECT_FALSE(record.undoHistory.canRedo());
    ASSERT_TRUE(record.undo());
    EXPECT_EQ(shown(), "P31");
    ASSERT_TRUE(record.undo());
    EXPECT_EQ(shown(), "P30");
    ASSERT_TRUE(record.redo());
    ASSERT_TRUE(record.redo());
    EXPECT_EQ(shown(), "X");
    EXPECT_FALSE(record.undoHistory.canRedo());
}

TEST_F(Undo, StatesAreWholePages) {
    record.appendBlock(test::makeBlock(BlockKind::Rectangle, {0, 0, 10, 10}));
    record.takeUndoSnapshot();
    record.appendBlock(test::makeBlock(BlockKind::Ellipse, {5, 5, 15, 15}));
    record.blocks[0]->moveBy(100, 0);
    record.productPicture = "pic";
    record.copies = 0;
    ASSERT_TRUE(record.undo());
    ASSERT_EQ(record.blocks.size(), 1u);
    EXPECT_EQ(record.blocks[0]->frame, (TwipsRect{0, 0, 10, 10}));
    EXPECT_TRUE(record.productPicture.isEmpty());
    EXPECT_EQ(record.copies, 0);  // not part of a page
    ASSERT_TRUE(record.redo());
    ASSERT_EQ(record.blocks.size(), 2u);
    EXPECT_EQ(record.blocks[0]->frame, (TwipsRect{100, 0, 110, 10}));
    EXPECT_EQ(record.productPicture, QByteArray("pic"));
}

TEST_F(Undo, ResetEmptiesTheHistoryAndEndsEditing) {
    edit("B");
    edit("C");
    record.undo();
    record.inPlaceEditing = true;
    record.resetUndo();
    EXPECT_EQ(record.undoHistory.count(), 0);
    EXPECT_EQ(record.undoHistory.undoIndex(), -1);
    EXPECT_FALSE(record.undoHistory.liveStateStored());
    EXPECT_FALSE(record.undoHistory.canUndo());
    EXPECT_FALSE(record.undoHistory.canRedo());
    EXPECT_FALSE(record.inPlaceEditing);
    EXPECT_EQ(shown(), "B");
}
