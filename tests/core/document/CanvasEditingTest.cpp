#include <gtest/gtest.h>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CanvasEditing.h"
#include "core/document/InfoRecord.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

TextBlock& addBlock(InfoRecord& page, TwipsRect rect, bool select = true) {
    Block& b = page.appendBlock(TextBlock::create(BlockKind::FixedText, rect, "A", true));
    if (select) page.selectBlock(&b);
    return static_cast<TextBlock&>(b);
}

}  // namespace

TEST(CanvasEditing, OneBlockMayLeaveThePageByThreeQuartersOfItsSize) {
    InfoRecord page;
    TextBlock& b = addBlock(page, {1000, 1000, 2000, 1400});
    // width 1000 → 750 off the left; height 400 → 300 off the top.
    EXPECT_EQ(CanvasEditing::moveSelection(page, QPoint(-5000, -5000)), QPoint(-1750, -1300));
    EXPECT_EQ(b.frame, (TwipsRect{-750, -300, 250, 100}));
    EXPECT_EQ(b.corners().p0, QPoint(-750, -300));
    CanvasEditing::moveSelection(page, QPoint(100000, 100000));
    EXPECT_EQ(b.frame.right, page.widthTw + 750);
    EXPECT_EQ(b.frame.bottom, page.heightTw + 300);
}

TEST(CanvasEditing, AGroupStaysOnThePageAndLockedBlocksStay) {
    InfoRecord page;
    TextBlock& a = addBlock(page, {0, 1000, 1000, 2000});
    TextBlock& b = addBlock(page, {3000, 500, 4000, 900});
    TextBlock& locked = addBlock(page, {5000, 5000, 6000, 6000});
    locked.locked = true;
    EXPECT_EQ(CanvasEditing::moveSelection(page, QPoint(-300, -800)), QPoint(0, -500));
    EXPECT_EQ(a.frame.left, 0);
    EXPECT_EQ(b.frame.top, 0);
    EXPECT_EQ(locked.frame.left, 5000);
    // Nothing unlocked selected: nothing moves.
    page.clearSelection();
    page.selectBlock(&locked);
    EXPECT_EQ(CanvasEditing::moveSelection(page, QPoint(10, 10)), QPoint());
}

TEST(CanvasEditing, GraphicResizeKeepsAtLeast100TwipsAndItsProportions) {
    const TwipsRect f{1000, 1000, 3000, 2000};
    struct Case {
        int32_t grip;
        QPoint mouse;
        bool aspect;
        TwipsRect expected;
    };
    const Case cases[] = {
        {BlockHandle::BottomRight, {500, 500}, false, {1000, 1000, 1100, 1100}},
        {BlockHandle::TopLeft, {5000, 5000}, false, {2900, 1900, 3000, 2000}},
        {BlockHandle::MiddleRight, {4000, 0}, false, {1000, 1000, 4000, 2000}},
        {BlockHandle::BottomRight, {99999, 99999}, false, {1000, 1000, 10771, 15874}},
        // Corner with proportions 2:1: the smaller change wins.
        {BlockHandle::BottomRight, {5000, 2100}, true, {1000, 1000, 3200, 2100}},
        // Right grip: height follows the width.
        {BlockHandle::MiddleRight, {5000, 0}, true, {1000, 1000, 5000, 3000}},
        // Bottom grip past the page width: the width stops at the page.
        {BlockHandle::MiddleBottom, {0, 6000}, true, {1000, 1000, 10771, 5885}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grip);
        EXPECT_EQ(CanvasEditing::resizeFrame(f, c.grip, c.mouse, 10771, 15874, c.aspect), c.expected);
    }
    // A frame without height never divides by it.
    const TwipsRect flat{0, 0, 1000, 0};
    EXPECT_NO_FATAL_FAILURE(
        CanvasEditing::resizeFrame(flat, BlockHandle::BottomRight, {2000, 10}, 10771, 15874, true));
}

TEST(CanvasEditing, TextCornersKeepTheOppositeCornerAndTheMinimums) {
    InfoRecord page;
    TextBlock& b = addBlock(page, {1000, 1000, 3000, 2000});
    CanvasEditing::resizeTextBlock(b, BlockHandle::BottomRight, QPoint(1020, 1030));
    EXPECT_EQ(b.frame, (TwipsRect{1000, 1000, 1100, 1100}));
    CanvasEditing::resizeTextBlock(b, BlockHandle::TopLeft, QPoint(0, 500));
    EXPECT_EQ(b.frame, (TwipsRect{0, 500, 1100, 1100}));
    // The top-right grip of live text: at least 200 twips, no rotation.
    CanvasEditing::resizeTextBlock(b, BlockHandle::TopRight, QPoint(50, 1050));
    EXPECT_EQ(b.frame, (TwipsRect{0, 900, 200, 1100}));
    EXPECT_EQ(b.sizeWidth, 200);
    EXPECT_EQ(b.content()->frameWidth(), 200);
}

TEST(CanvasEditing, TheBandSelectsWholeFramesOnlyLockedOrNot) {
    InfoRecord page;
    TextBlock& inside = addBlock(page, {100, 100, 500, 500}, false);
    inside.locked = true;
    addBlock(page, {400, 400, 2000, 2000}, false);
    TextBlock& edge = addBlock(page, {0, 0, 1000, 1000}, false);
    CanvasEditing::selectInBand(page, {1000, 1000, 0, 0});
    ASSERT_EQ(page.selection.size(), 2u);
    EXPECT_EQ(page.selection[0], &inside);
    EXPECT_EQ(page.selection[1], &edge);
}
