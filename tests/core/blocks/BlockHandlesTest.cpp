#include <gtest/gtest.h>

#include <QPainter>
#include <vector>

#include "TestBlock.h"
#include "core/blocks/BlockList.h"

using namespace pemo;
using test::makeBlock;

namespace {

struct Grip {
    int32_t id, index, x, y;
    bool operator==(const Grip&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Grip& g) {
    return os << "{" << g.id << ", " << g.index << ", " << g.x << ", " << g.y << "}";
}

std::vector<Grip> gripsOf(const Block& b) {
    std::vector<Grip> out;
    for (const auto& h : b.handles()) out.push_back({h->id, h->index, h->x, h->y});
    return out;
}

}  // namespace

TEST(BlockHandles, RebuildAddsTheEightResizeGripsInOrder) {
    const struct {
        TwipsRect frame;
        std::vector<Grip> grips;
    } cases[] = {
        {{100, 200, 301, 401},
         {{-11, -1, 100, 200}, {-12, -1, 100, 300}, {-13, -1, 100, 401}, {-14, -1, 200, 200},
          {-15, -1, 200, 401}, {-16, -1, 301, 200}, {-17, -1, 301, 300}, {-18, -1, 301, 401}}},
        // The middles are divided with truncation toward zero.
        {{-301, -401, -100, -200},
         {{-11, -1, -301, -401}, {-12, -1, -301, -300}, {-13, -1, -301, -200},
          {-14, -1, -200, -401}, {-15, -1, -200, -200}, {-16, -1, -100, -401},
          {-17, -1, -100, -300}, {-18, -1, -100, -200}}},
        // A frame without width: the right grips land on the left ones and own them.
        {{50, 0, 50, 100}, {{-16, -1, 50, 0}, {-17, -1, 50, 50}, {-18, -1, 50, 100}}},
        // A frame shrunk to a point keeps a single grip, the last one added.
        {{7, 7, 7, 7}, {{-18, -1, 7, 7}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame.left << "," << c.frame.top);
        auto b = makeBlock(BlockKind::Rectangle, c.frame);
        b->rebuildHandles(true);
        EXPECT_EQ(gripsOf(*b), c.grips);
    }
}

TEST(BlockHandles, AddHandleAtAnOccupiedSpotTakesItOver) {
    auto b = makeBlock(BlockKind::Polygon, {0, 0, 100, 100});
    b->rebuildHandles(true);
    // A shape point on the bottom-right corner.
    BlockHandle& h = b->addHandle(BlockHandle::Point, 3, 100, 100);
    EXPECT_EQ(b->handles().size(), 8u);
    EXPECT_EQ(&h, b->handles().back().get());
    EXPECT_EQ(gripsOf(*b).back(), (Grip{-2, 3, 100, 100}));
    // A new spot appends.
    b->addHandle(BlockHandle::Point, 4, 30, 30);
    EXPECT_EQ(b->handles().size(), 9u);
    EXPECT_EQ(gripsOf(*b).back(), (Grip{-2, 4, 30, 30}));
    // moveBy rebuilds from the frame: the point grip goes.
    b->moveBy(10, -5);
    EXPECT_EQ(b->frame, (TwipsRect{10, -5, 110, 95}));
    EXPECT_EQ(b->handles().size(), 8u);
    EXPECT_EQ(gripsOf(*b).front(), (Grip{-11, -1, 10, -5}));
}

TEST(BlockHandles, HitHandleSquareIsInclusiveLeftTopExclusiveRightBottom) {
    auto b = makeBlock(BlockKind::Rectangle, {0, 0, 0, 0});
    b->addHandle(BlockHandle::Point, 0, 100, 100);
    const struct {
        int x, y;
        bool hit;
    } cases[] = {
        {100, 100, true}, {96, 96, true},   {103, 103, true}, {96, 103, true},
        {104, 100, false}, {100, 104, false}, {95, 100, false}, {100, 95, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(b->hitHandle(c.x, c.y, 4) != nullptr, c.hit);
    }
}

TEST(BlockHandles, HitHandleWalksFromTheLastHandle) {
    auto b = makeBlock(BlockKind::Rectangle, {0, 0, 0, 0});
    b->addHandle(BlockHandle::Point, 0, 0, 0);
    b->addHandle(BlockHandle::Point, 1, 5, 0);
    b->addHandle(BlockHandle::Point, 2, 40, 0);
    // (2, 0) lies in the squares of the first two; the later one answers.
    const BlockHandle* h = b->hitHandle(2, 0, 4);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->index, 1);
    h = b->hitHandle(0, 0, 4);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->index, 0);  // (0, 0) is left of (5, 0)'s square
    EXPECT_EQ(b->hitHandle(20, 0, 4), nullptr);
}

TEST(BlockHandles, GripAtLooksAtSelectedBlocksTopLayerFirst) {
    BlockPtrList blocks;
    // Three blocks with a corner at (1000, 1000).
    blocks.push_back(makeBlock(BlockKind::Rectangle, {0, 0, 1000, 1000}, 3));
    blocks.push_back(makeBlock(BlockKind::Rectangle, {1000, 1000, 2000, 2000}, 9));
    blocks.push_back(makeBlock(BlockKind::Ellipse, {1000, 0, 3000, 1000}, 12));
    for (auto& b : blocks) b->rebuildHandles(true);
    blocks[0]->selected = true;
    blocks[1]->selected = true;
    // blocks[2] is on top but not selected: its grips do not count.

    // zoom 1 at 1440 pixels per inch: one pixel is one twip, the tolerance 4 twips.
    auto hit = gripAt(blocks, 1000, 1000, 1.0, 1440);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->blockIndex, 1);
    EXPECT_EQ(hit->handleId, BlockHandle::TopLeft);

    blocks[2]->selected = true;
    hit = gripAt(blocks, 1003, 997, 1.0, 1440);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->blockIndex, 2);
    EXPECT_EQ(hit->handleId, BlockHandle::BottomLeft);

    // Only block 0 has a grip at (0, 500).
    hit = gripAt(blocks, 0, 500, 1.0, 1440);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->blockIndex, 0);
    EXPECT_EQ(hit->handleId, BlockHandle::MiddleLeft);

    EXPECT_FALSE(gripAt(blocks, 1004, 1000, 1.0, 1440));
    EXPECT_FALSE(gripAt(blocks, 500, 500, 1.0, 1440));
}

TEST(BlockHandles, GripAtConvertsPixelsAndToleranceAtTheZoom) {
    BlockPtrList blocks;
    blocks.push_back(makeBlock(BlockKind::Rectangle, {1500, 1500, 3000, 3000}));
    blocks[0]->rebuildHandles(true);
    blocks[0]->selected = true;
    // 96 pixels per inch at zoom 0.5: one pixel is 30 twips; 4 pixels are 120 twips.
    // (50, 50) px is (1500, 1500) twips.
    const struct {
        int x, y;
        bool hit;
    } cases[] = {{50, 50, true}, {46, 46, true}, {53, 53, true}, {54, 50, false}, {45, 50, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        const auto hit = gripAt(blocks, c.x, c.y, 0.5, 96);
        EXPECT_EQ(hit.has_value(), c.hit);
        if (hit) {
            EXPECT_EQ(hit->handleId, BlockHandle::TopLeft);
        }
    }
}

TEST(BlockHandles, DrawShowsGripsOnlyForSelectedBlocksWithTheSelectionTool) {
    auto b = makeBlock(BlockKind::Polygon, {20, 20, 60, 60});
    b->rebuildHandles(true);
    b->addHandle(BlockHandle::Point, 0, 40, 40);
    b->addHandle(BlockHandle::Rotation, -1, 40, 80);
    const QRgb white = qRgb(255, 255, 255);
    const struct {
        bool selected;
        int flags;
        QRgb corner, point, rotation;
    } cases[] = {
        {true, DrawFlag::SelectionTool, qRgb(0, 0, 128), qRgb(15, 207, 255), qRgb(0, 0, 255)},
        {true, DrawFlag::SelectionTool | DrawFlag::FrameLines, qRgb(0, 0, 128),
         qRgb(15, 207, 255), qRgb(0, 0, 255)},
        {true, DrawFlag::SelectionTool | DrawFlag::Wire, white, white, white},
        {true, 0, white, white, white},
        {false, DrawFlag::SelectionTool, white, white, white},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selected << " " << c.flags);
        // 1440 dots per inch at zoom 1: one twip is one pixel.
        QImage image(100, 100, QImage::Format_RGB32);
        image.setDotsPerMeterX(56693);
        image.setDotsPerMeterY(56693);
        image.fill(Qt::white);
        b->selected = c.selected;
        {
            QPainter painter(&image);
            b->draw(painter, c.flags, 1.0, 0, 0);
        }
        EXPECT_EQ(image.pixel(20, 20), c.corner);
        EXPECT_EQ(image.pixel(16, 16), c.corner);  // the square reaches 4 pixels up and left
        EXPECT_EQ(image.pixel(60, 40), c.corner);
        EXPECT_EQ(image.pixel(24, 24), white);     // … and 3 right and down
        EXPECT_EQ(image.pixel(40, 40), c.point);
        EXPECT_EQ(image.pixel(40, 80), c.rotation);
    }
}
