#include <gtest/gtest.h>

#include "core/labels/LabelLayout.h"

namespace pemo {

TEST(LabelLayout, SheetsForItemsFromTheStartLabel) {
    const struct {
        int perSheet;
        int start;
        long long items;
        long long pages;
    } cases[] = {
        {21, 1, 0, 0},    {21, 1, 1, 1},    {21, 1, 21, 1},   {21, 1, 22, 2},
        {21, 21, 1, 1},   {21, 21, 2, 2},   {21, 5, 17, 1},   {21, 5, 18, 2},
        {21, 1, 1000, 48},{21, 9, 1000, 48}, {21, 10, 1000, 49},
        {1, 1, 7, 7},     {21, 0, 21, 1},   {21, 99, 1, 1},   // start clamped into the sheet
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LabelLayout(c.perSheet, c.start).pageCount(c.items), c.pages)
            << c.perSheet << " start " << c.start << " items " << c.items;
    }
}

TEST(LabelLayout, ItemsOnEachLabel) {
    const LabelLayout layout(21, 5);
    const struct {
        int page;
        int slot;
        long long item;
    } cases[] = {
        {0, 0, -1}, {0, 3, -1}, {0, 4, 0}, {0, 20, 16}, {1, 0, 17}, {1, 20, 37}, {2, 0, 38},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layout.itemAt(c.page, c.slot), c.item) << c.page << "/" << c.slot;
    }
}

TEST(LabelLayout, SignsFitTheirLabel) {
    const QRectF box(10, 20, 60, 40);
    const struct {
        QSizeF sign;
        QRectF placed;
        double scale;
    } cases[] = {
        {{60, 40}, {10, 20, 60, 40}, 1.0},
        {{60.2, 39.8}, {9.9, 20.1, 60.2, 39.8}, 1.0},  // its own size, near enough
        {{120, 80}, {10, 20, 60, 40}, 0.5},
        {{30, 40}, {25, 20, 30, 40}, 1.0},            // narrower: centred across
        {{15, 10}, {10, 20, 60, 40}, 4.0},            // smaller: enlarged to fit
        {{90, 30}, {10, 30, 60, 20}, 2.0 / 3},        // wider: centred down
    };
    for (const auto& c : cases) {
        double scale = 0;
        const QRectF placed = LabelLayout::fit(c.sign, box, &scale);
        EXPECT_NEAR(scale, c.scale, 1e-9) << c.sign.width() << "x" << c.sign.height();
        EXPECT_NEAR(placed.x(), c.placed.x(), 1e-9);
        EXPECT_NEAR(placed.y(), c.placed.y(), 1e-9);
        EXPECT_NEAR(placed.width(), c.placed.width(), 1e-9);
        EXPECT_NEAR(placed.height(), c.placed.height(), 1e-9);
    }
}

}  // namespace pemo
