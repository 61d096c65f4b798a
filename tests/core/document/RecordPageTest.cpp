#include <gtest/gtest.h>

#include "Bytes.h"
#include "TestBlock.h"
#include "core/codecs/Archive.h"
#include "core/document/InfoRecord.h"

using namespace pemo;
using test::Bytes;
using test::makeBlock;

namespace {

class RecordPage : public testing::Test {
protected:
    void SetUp() override { test::registerTestBlocks(); }
};

}  // namespace

// 190 × 280 mm to 280 × 400 mm: x by 15874 / 10771, y by 22677 / 15874, truncated
// toward zero (also for negative coordinates).
TEST_F(RecordPage, SetPageSizeScalesEveryBlockByTheTwipsRatio) {
    const struct {
        TwipsRect before, after;
    } cases[] = {
        {{1000, 2000, 3001, 4003}, {1473, 2857, 4422, 5718}},
        // The factor is a double: 10771 × (15874 / 10771) comes out a hair short.
        {{0, 0, 10771, 15874}, {0, 0, 15873, 22677}},
        {{-1000, -2000, 1, 1}, {-1473, -2857, 1, 1}},
        {{7, 7, 7, 7}, {10, 9, 10, 9}},
    };
    InfoRecord r;
    for (const auto& c : cases) r.appendBlock(makeBlock(BlockKind::Rectangle, c.before));
    r.selectBlock(r.blocks[0].get());
    r.setPageSize(280, 400);
    EXPECT_EQ(r.widthMm, 280);
    EXPECT_EQ(r.heightMm, 400);
    EXPECT_EQ(r.widthTw, 15874);
    EXPECT_EQ(r.heightTw, 22677);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.blocks[i]->frame, cases[i].after);
    }
    // The selection is cleared, and the old page is one undo away.
    EXPECT_TRUE(r.selection.empty());
    EXPECT_FALSE(r.blocks[0]->selected);
    EXPECT_TRUE(r.blocks[0]->handles().empty());
    ASSERT_TRUE(r.undo());
    EXPECT_EQ(r.widthMm, 190);
    EXPECT_EQ(r.heightTw, 15874);
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(r.blocks[i]->frame, cases[i].before);
    // The block was selected when the snapshot was taken.
    ASSERT_EQ(r.selection.size(), 1u);
    EXPECT_EQ(r.selection[0], r.blocks[0].get());
}

TEST_F(RecordPage, SnapshotLayout) {
    InfoRecord r;
    r.inPlaceEditing = true;
    r.setValue(0, test::gbk("牛奶"));
    r.setValue(12, "9");
    r.productPicture = "k";
    r.copies = 4;              // not part of a snapshot
    r.background.name = "bg";  // neither
    auto& b = r.appendBlock(makeBlock(BlockKind::CurrentPrice, {1, 2, 3, 4}, 8));
    b.locked = true;
    r.selectBlock(&b);

    Bytes expected;
    expected.i32(1).i32(190).i32(280).i32(10771).i32(15874).text("牛奶");
    for (int i = 1; i < 12; ++i) expected.u8(0);
    expected.text("9").text("k");
    expected.i32(1).i32(BlockKind::CurrentPrice);
    expected.i32(BlockKind::CurrentPrice).i32(3).i32(8).i32(1).i32(2).i32(3).i32(4).i32(2).i32(2);
    expected.i32(1).i32(1);
    EXPECT_EQ(r.snapshotPage(), expected.data());
}

TEST_F(RecordPage, RestoreBringsBackSelectionAndLocks) {
    InfoRecord r;
    r.appendBlock(makeBlock(BlockKind::FixedText, {0, 0, 100, 100}));
    r.appendBlock(makeBlock(BlockKind::Line, {10, 10, 20, 20}));
    r.appendBlock(makeBlock(BlockKind::Logo1, {50, 50, 80, 90}));
    r.blocks[0]->locked = true;
    // Selected in the order 2, 0; block 1 locked but not selected.
    r.selectBlock(r.blocks[2].get());
    r.selectBlock(r.blocks[0].get());
    r.blocks[1]->locked = true;
    r.blocks[0]->locked = false;
    r.blocks[2]->locked = true;
    r.setValue(5, "v5");
    r.inPlaceEditing = true;
    const QByteArray page = r.snapshotPage();

    r.clearSelection();
    r.clearBlocks();
    r.setValue(5, "");
    r.inPlaceEditing = false;
    r.widthMm = 1;
    r.copies = 9;
    r.restorePage(page);

    ASSERT_EQ(r.blocks.size(), 3u);
    EXPECT_EQ(r.blocks[1]->frame, (TwipsRect{10, 10, 20, 20}));
    EXPECT_EQ(r.blocks[2]->kind, BlockKind::Logo1);
    EXPECT_EQ(r.value(5), QByteArray("v5"));
    EXPECT_TRUE(r.inPlaceEditing);
    EXPECT_EQ(r.widthMm, 190);
    EXPECT_EQ(r.copies, 9);  // copies are not part of the page
    const bool selected[] = {true, false, true};
    const bool locked[] = {false, true, true};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.blocks[i]->selected, selected[i]);
        EXPECT_EQ(r.blocks[i]->locked, locked[i]);
        // Selected blocks show their grips again.
        EXPECT_EQ(r.blocks[i]->handles().size(), selected[i] ? 8u : 0u);
    }
    // The selection list holds exactly the selected blocks (in list order).
    EXPECT_EQ(r.selection, (std::vector<Block*>{r.blocks[0].get(), r.blocks[2].get()}));
}

TEST_F(RecordPage, RestoreRefusesABrokenSnapshotAndKeepsThePage) {
    InfoRecord r;
    r.appendBlock(makeBlock(BlockKind::Rectangle, {0, 0, 5, 5}));
    r.setValue(0, "keep");
    QByteArray page = r.snapshotPage();
    page.chop(3);
    EXPECT_THROW(r.restorePage(page), FormatError);
    EXPECT_EQ(r.value(0), QByteArray("keep"));
    EXPECT_EQ(r.blocks.size(), 1u);
}

