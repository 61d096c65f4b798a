#include <gtest/gtest.h>

#include <QStringList>

#include "TestBlock.h"
#include "core/document/InfoRecord.h"

using namespace pemo;

namespace {

class Undo : public testing::Test {
protected:
    void SetUp() override { test::registerTestBlocks(); }

    void start(const QByteArray& page) {
        record.resetUndo();
        record.setValue(0, page);
    }
    // An editing command: a snapshot first, then the change.
    void edit(const QByteArray& to) {
        record.takeUndoSnapshot();
        record.setValue(0, to);
    }
    QByteArray shown() const { return record.value(0); }

    InfoRecord record;
};

}  // namespace

// Each step is "<op><page><can undo><can redo>": op E edits to the page, U undoes, R redoes,
// then the page shown and whether Undo and Redo are enabled.
TEST_F(Undo, SequencesMoveExactlyOneStateAtATime) {
    const struct {
        const char* name;
        const char* steps;
    } cases[] = {
        {"change, undo, redo, undo alternates", "EB+- UA-+ RB+- UA-+ RB+- RB+-"},
        {"back and forth over three changes",
         "EB+- EC+- ED+- UC++ UB++ RC++ RD+- UC++ UB++ UA-+ UA-+ RB++"},
        {"an edit after undo drops the redo states",
         "EB+- EC+- UB++ EX+- RX+- UB++ UA-+ RB++ RX+-"},
        {"an edit after undoing everything", "EB+- UA-+ EY+- UA-+ RY+-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        start("A");
        for (const QString& step : QString::fromLatin1(c.steps).split(' ')) {
            SCOPED_TRACE(step.toStdString());
            const QByteArray page(1, step[1].toLatin1());
            switch (step[0].toLatin1()) {
                case 'E': edit(page); break;
                case 'U': record.undo(); break;
                case 'R': record.redo(); break;
            }
            EXPECT_EQ(shown(), page);
            EXPECT_EQ(record.undoHistory.canUndo(), step[2] == '+');
            EXPECT_EQ(record.undoHistory.canRedo(), step[3] == '+');
        }
    }
}

// With 30 states stored, each new snapshot discards the oldest; storing the live page
// on the first Undo discards one more. Undo must still restore the previous page every
// time, never the page already shown.
TEST_F(Undo, FullHistoryKeepsUndoOnThePreviousState) {
    for (int edits : {29, 30, 31, 32, 45}) {
        SCOPED_TRACE(edits);
        start("P0");
        for (int k = 1; k <= edits; ++k) edit("P" + QByteArray::number(k));
        EXPECT_EQ(record.undoHistory.count(), std::min(edits, 30));

        const int oldest = std::max(0, edits - 29);
        for (int k = edits - 1; k >= oldest; --k) {
            ASSERT_TRUE(record.undo()) << k;
            ASSERT_EQ(shown(), "P" + QByteArray::number(k));
        }
        EXPECT_FALSE(record.undoHistory.canUndo());
        EXPECT_FALSE(record.undo());
        for (int k = oldest + 1; k <= edits; ++k) {
            ASSERT_TRUE(record.redo()) << k;
            ASSERT_EQ(shown(), "P" + QByteArray::number(k));
        }
        EXPECT_FALSE(record.redo());
    }

    // A new edit after undo with a full history.
    start("P0");
    for (int k = 1; k <= 32; ++k) edit("P" + QByteArray::number(k));
    ASSERT_TRUE(record.undo());
    edit("X");
    EXPECT_FALSE(record.undoHistory.canRedo());
    ASSERT_TRUE(record.undo());
    EXPECT_EQ(shown(), "P31");
    ASSERT_TRUE(record.undo());
    EXPECT_EQ(shown(), "P30");
    ASSERT_TRUE(record.redo());
    ASSERT_TRUE(record.redo());
    EXPECT_EQ(shown(), "X");
}
