#include <gtest/gtest.h>

#include "TextFixtures.h"

using namespace pemo;
using namespace pemo::test;
using V = std::vector<int>;

namespace {

// Fixed metrics that note the size of every first measurement of a layout, which
// for a text in one style is the size each try lays out at.
class RecordingMetrics : public FixedTextMetrics {
public:
    StyleMetrics measure(const CharStyle& style, int size) const override {
        sizes.push_back(size);
        return FixedTextMetrics::measure(style, size);
    }
    mutable V sizes;
};

RichText fitted(RecordingMetrics& metrics, const char* text, int width, int height,
                int fontSize = 24, int itemSize = 24) {
    RichText t(width, height, gbk(text), styleOfSize(itemSize), TextKind::Fixed, fontSize, 0,
               RichText::Left);
    t.setMetrics(&metrics);
    metrics.sizes.clear();
    return t;
}

TEST(FitTest, TrySizeSequence) {
    // "中" at size s: advance 20s, line height 22s (the end item's Western cell).
    const struct {
        const char* name;
        int width, height;
        V tries;
        int finalSize;
    } cases[] = {
        // Largest fitting size 45: the search stops on a success next to a failure.
        {"stops on success", 1000, 1000, {360, 20, 188, 104, 60, 40, 48, 44}, 44},
        // Largest fitting size 42: the search leaves the loop and tries the lower bound.
        {"final try", 1000, 930, {360, 20, 188, 104, 60, 40, 48, 44, 40}, 40},
        {"everything fits", 100000, 100000, {360}, 360},
        // Not even 20 points fit; the typing size is already 20, nothing more to try.
        {"nothing fits", 100, 100, {360, 20}, 20},
    };
    for (const auto& c : cases) {
        RecordingMetrics metrics;
        RichText t = fitted(metrics, "中", c.width, c.height);
        const int before = t.layoutCount();
        t.fitToFrame(true);
        EXPECT_EQ(metrics.sizes, c.tries) << c.name;
        EXPECT_EQ(t.fontSize(), c.finalSize) << c.name;
        EXPECT_EQ(t.item(0).style->size, c.finalSize) << c.name;
        EXPECT_LE(t.layoutCount() - before, 10) << c.name;
    }
}

TEST(FitTest, AutoFitOffNeverChangesSizes) {
    RecordingMetrics metrics;
    RichText t = fitted(metrics, "中文", 100000, 100000);
    t.fitToFrame(false);
    EXPECT_EQ(t.fontSize(), 24);
    EXPECT_EQ(t.item(0).style->size, 24);
    EXPECT_EQ(metrics.sizes, V{24});
}

TEST(FitTest, SizesMoveTogetherWithinTheLimits) {
    RecordingMetrics metrics;
    RichText t = fitted(metrics, "中", 1000, 1000);
    t.typeCharacter('a');  // caret is at 0: "a" comes first
    t.setSelection({0, true}, {1, true});
    t.applyStyle(RichText::Size, 40, false);  // "a" at 40, "中" at 24
    t.fitToFrame(true);
    // "a" reaches the limit 360 when 中 is at 344 .. the delta is shared.
    EXPECT_EQ(t.item(0).style->size - t.item(1).style->size, 16);
}

TEST(FitTest, TrySizeRefusesAboveTheLimitWithoutChange) {
    RecordingMetrics metrics;
    RichText t = fitted(metrics, "中", 1000, 1000, 24, 100);
    EXPECT_FALSE(t.trySize(300));  // 100 + 276 > 360
    EXPECT_EQ(t.fontSize(), 24);
    EXPECT_EQ(t.item(0).style->size, 100);
    EXPECT_TRUE(metrics.sizes.empty());
}

TEST(FitTest, ShrinkingStaysWithinBudgetAndNeverWrapsBelowZero) {
    // Items far larger than the nominal size: the last-resort shrink walks the font
    // size down toward 0 and must neither wrap nor run past ten layouts.
    const struct { int fontSize, itemSize; } cases[] = {{4, 100}, {2, 48}, {24, 300}};
    for (const auto& c : cases) {
        RecordingMetrics metrics;
        RichText t = fitted(metrics, "中中中中", 10, 10, c.fontSize, c.itemSize);
        t.typingStyle.edit().size = uint16_t(c.itemSize);
        const int before = t.layoutCount();
        t.fitToFrame(true);
        EXPECT_LE(t.layoutCount() - before, 10) << c.fontSize;
        EXPECT_LE(t.fontSize(), 360) << c.fontSize;
        for (int i = 0; i < t.itemCount(); ++i) {
            EXPECT_GE(t.item(i).style->size, 20);
            EXPECT_LE(t.item(i).style->size, 360);
        }
    }
}

// Text set below 20 points is fitted among 5 … 19 and stays small; text of 20 points or
// more keeps the search over 20 … 360 above, never going below 20.
TEST(FitTest, SmallTextFitsBetweenFiveAndNineteen) {
    // "中" at size s: advance 20s, line height 22s.
    const struct {
        const char* name;
        int width, height, itemSize;
        int finalSize;
    } cases[] = {
        {"a large frame stops at 19", 100000, 100000, 9, 19},
        {"a frame for 12 points", 1000, 12 * 22, 9, 12},
        {"a frame for 7 points", 1000, 7 * 22 + 5, 12, 7},
        {"nothing fits: 5", 10, 10, 9, 5},
        {"20 points never goes below 20", 100, 100, 20, 20},
        {"24 points in a frame for 12 stays at 20", 1000, 12 * 22, 24, 20},
    };
    for (const auto& c : cases) {
        RecordingMetrics metrics;
        RichText t = fitted(metrics, "中", c.width, c.height, c.itemSize, c.itemSize);
        t.typingStyle.edit().size = uint16_t(c.itemSize);
        const int before = t.layoutCount();
        t.fitToFrame(true);
        EXPECT_EQ(t.item(0).style->size, c.finalSize) << c.name;
        EXPECT_EQ(t.item(1).style->size, c.finalSize) << c.name << " (the end item)";
        EXPECT_LE(t.layoutCount() - before, 10) << c.name;
    }
}

// Sizes of 20 and more fit exactly as before, whatever small text is elsewhere; a content
// mixing small and large sizes keeps its proportions.
TEST(FitTest, MixedSizesMoveTogetherBelowTwenty) {
    RecordingMetrics metrics;
    RichText t = fitted(metrics, "中", 100000, 100000, 24, 30);
    t.typeCharacter('a');
    t.setSelection({0, true}, {1, true});
    t.applyStyle(RichText::Size, 10, false);  // "a" at 10, "中" and the end item at 30
    t.fitToFrame(true);
    EXPECT_EQ(t.item(0).style->size, 19);
    EXPECT_EQ(t.item(1).style->size, 39);
}

TEST(FitTest, VerticalFitTestsTheWidth) {
    RecordingMetrics metrics;
    RichText t = fitted(metrics, "中", 1000, 100000);
    t.setVertical(true);
    t.fitToFrame(true);
    // A column is 22s wide (the end item's cell): 1000 holds 45 points at most.
    EXPECT_EQ(t.fontSize(), 44);
}

}  // namespace
