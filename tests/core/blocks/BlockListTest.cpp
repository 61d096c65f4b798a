#include <gtest/gtest.h>

#include <vector>

#include "TestBlock.h"
#include "core/blocks/BlockList.h"

using namespace pemo;
using test::makeBlock;
using test::TestBlock;

namespace {

TestBlock& at(const BlockPtrList& blocks, size_t i) { return static_cast<TestBlock&>(*blocks[i]); }

}  // namespace

TEST(BlockList, DrawingOrderIsByLayerThenListOrder) {
    BlockPtrList blocks;
    const int layers[] = {8, 3, 8, 0, 14, 3, 15, -1};
    for (int layer : layers) blocks.push_back(makeBlock(BlockKind::Rectangle, {}, layer));
    std::vector<Block*> order;
    forEachInDrawingOrder(blocks, [&](Block& b) { order.push_back(&b); });
    // Blocks outside layers 0 to 14 are not drawn.
    const std::vector<Block*> expected = {blocks[3].get(), blocks[1].get(), blocks[5].get(),
                                          blocks[0].get(), blocks[2].get(), blocks[4].get()};
    EXPECT_EQ(order, expected);
}

TEST(BlockList, BlockAtPrefersHigherLayerThenEarlierInList) {
    QImage scratch(64, 64, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    const struct {
        const char* name;
        std::vector<int> layers;     // every block covers (50, 50)
        std::vector<bool> selected;  // consulted when selectedOnly
        bool selectedOnly;
        int expected;                // index, -1 for none
    } cases[] = {
        {"same layer: earlier wins although drawn below", {5, 5}, {false, false}, false, 0},
        {"higher layer wins", {5, 9}, {false, false}, false, 1},
        {"higher layer wins over list order", {9, 5, 9}, {false, false, false}, false, 0},
        {"selected only skips the unselected", {5, 5, 9}, {false, true, false}, true, 1},
        {"selected only, none selected", {5, 5}, {false, false}, true, -1},
        {"layer outside 0..14 is never found", {15}, {true}, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BlockPtrList blocks;
        for (size_t i = 0; i < c.layers.size(); ++i) {
            blocks.push_back(makeBlock(BlockKind::Rectangle, {0, 0, 100, 100}, c.layers[i]));
            blocks.back()->selected = c.selected[i];
        }
        Block* found = blockAt(blocks, scratch, 1.0, 50, 50, c.selectedOnly);
        EXPECT_EQ(found, c.expected < 0 ? nullptr : blocks[size_t(c.expected)].get());
    }
}

TEST(BlockList, BlockAtMissesAndClearsScratchForEveryBlock) {
    QImage scratch(8, 8, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    BlockPtrList blocks;
    blocks.push_back(makeBlock(BlockKind::Rectangle, {0, 0, 10, 10}, 9));
    blocks.push_back(makeBlock(BlockKind::Rectangle, {20, 0, 30, 10}, 4));
    blocks.push_back(makeBlock(BlockKind::Rectangle, {40, 0, 50, 10}, 4));
    EXPECT_EQ(blockAt(blocks, scratch, 1.0, 45, 5), blocks[2].get());
    // Each TestBlock blackens the scratch after looking at it; every one saw it white.
    for (size_t i = 0; i < blocks.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(at(blocks, i).hitTests, 1);
        EXPECT_TRUE(at(blocks, i).scratchWasWhite);
    }
    EXPECT_EQ(blockAt(blocks, scratch, 1.0, 35, 5), nullptr);
}

// Alt+click: the block under the one selected, round to the top again, so a block under
// another's frame can be reached.
TEST(BlockList, NextBlockAtWalksDownTheStackAndRoundAgain) {
    QImage scratch(64, 64, QImage::Format_RGB32);
    BlockPtrList blocks;
    for (int layer : {9, 5, 5}) blocks.push_back(makeBlock(BlockKind::Rectangle, {0, 0, 100, 100}, layer));
    blocks.push_back(makeBlock(BlockKind::Rectangle, {200, 0, 300, 100}, 9));  // elsewhere
    const struct {
        const char* name;
        int current;  // index, -1 for none
        int expected;
    } cases[] = {
        {"nothing selected: the one under the top", -1, 1},
        {"the top one selected: the next", 0, 1},
        {"down the same layer in list order", 1, 2},
        {"the last one: round to the top", 2, 0},
        {"a block elsewhere selected: the one under the top", 3, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Block* current = c.current < 0 ? nullptr : blocks[size_t(c.current)].get();
        EXPECT_EQ(nextBlockAt(blocks, scratch, 1.0, 50, 50, current), blocks[size_t(c.expected)].get());
    }
    EXPECT_EQ(nextBlockAt(blocks, scratch, 1.0, 150, 50, nullptr), nullptr);
    EXPECT_EQ(nextBlockAt(blocks, scratch, 1.0, 250, 50, blocks[3].get()), blocks[3].get()) << "alone: itself";
}
