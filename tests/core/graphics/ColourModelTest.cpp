#include <gtest/gtest.h>

#include "core/codecs/Archive.h"
#include "core/graphics/ColourModel.h"
#include "core/graphics/RecentColourList.h"

using namespace pemo;

namespace {
uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }
}  // namespace

TEST(ColourModel, HslFromRgb) {
    struct Case {
        int r, g, b;
        Hsl expected;
    };
    const Case cases[] = {
        {255, 0, 0, {0, 240, 120}},     {0, 0, 255, {160, 240, 120}},
        {255, 128, 0, {20, 240, 120}},  {10, 200, 100, {98, 217, 98}},
        {128, 128, 128, {77, 0, 120}},  {255, 255, 255, {77, 0, 240}},
        {0, 255, 0, {80, 240, 120}},    {255, 0, 255, {200, 240, 120}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hslFromRgb(c.r, c.g, c.b, 77), c.expected) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(ColourModel, RgbFromHsl) {
    EXPECT_EQ(rgbFromHsl(0, 240, 120), rgb(255, 0, 0));
    EXPECT_EQ(rgbFromHsl(80, 240, 120), rgb(0, 255, 0));
    EXPECT_EQ(rgbFromHsl(20, 240, 120), rgb(255, 128, 0));
    EXPECT_EQ(rgbFromHsl(0, 0, 120), rgb(128, 127, 127));
    EXPECT_EQ(rgbFromHsl(100, 50, 240), rgb(255, 255, 255));
    EXPECT_EQ(rgbFromHsl(100, 50, 255), rgb(255, 255, 255));
    EXPECT_EQ(rgbFromHsl(239, 240, 0), rgb(0, 0, 0));
}

TEST(RecentColourList, AddColourCountsAndReplacesTheLeastUsed) {
    RecentColourList list;
    const int fixed = list.addColour(0x0000FF);  // a fixed colour: nothing changes
    EXPECT_LT(fixed, RecentColourList::kFixedCount);
    EXPECT_EQ(list.colourAt(fixed), 0x0000FFu);
    EXPECT_EQ(list.counts[0], 0);
    EXPECT_EQ(list.addColour(0x123456), 183);
    EXPECT_EQ(list.addColour(0x123456), 183);
    EXPECT_EQ(list.counts[0], 2);
    EXPECT_EQ(list.colourAt(183), 0x123456u);
    EXPECT_EQ(list.colourAt(0), 0x000000u);
    EXPECT_EQ(list.colourAt(182), 0x2D2D2Du);
    EXPECT_EQ(list.colourAt(184), RecentColourList::kEmpty);

    for (int i = 0; i < RecentColourList::kSlotCount; ++i) {
        list.recent[size_t(i)] = 0x010100u + uint32_t(i);
        list.counts[size_t(i)] = i == 0 ? 3 : (i <= 2 ? 1 : 2);
    }
    EXPECT_EQ(list.addColour(0x020202), 184);
    EXPECT_EQ(list.recent[1], 0x020202u);
    EXPECT_EQ(list.counts[1], 1);
    // Counts stop at the largest value instead of wrapping round.
    list.counts[0] = INT32_MAX;
    list.addColour(list.recent[0]);
    EXPECT_EQ(list.counts[0], INT32_MAX);
}

TEST(RecentColourList, NegativeStoredCountsLoadAsZero) {
    RecentColourList list;
    list.counts[4] = -7;
    ArchiveWriter out;
    list.store(out);
    RecentColourList back;
    ArchiveReader in(out.data());
    back.load(in);
    EXPECT_EQ(back.counts[4], 0);
}
