#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <set>

#include "TextFixtures.h"
#include "core/codecs/Archive.h"

using namespace pemo;
using namespace pemo::test;
using V = std::vector<int>;

namespace {

TEST(LayoutTest, EmptyContentIsOneLineOfTheWesternCell) {
    RichText t = makeText("", 1000, 1000);
    ASSERT_EQ(t.itemCount(), 1);
    EXPECT_EQ(t.extent(), 220);
    EXPECT_EQ(t.item(0).y, 180);
    EXPECT_EQ(t.item(0).lineHeight, 220);
}

struct BreakCase {
    const char* text;
    V marks;  // one per item, end item included
};

TEST(LayoutTest, BreakOpportunities) {
    const BreakCase cases[] = {
        // No break after the currency sign, the number stays together.
        {"ab ￥12.50", {1, 0, 0, 1, 0, 0, 0, 0, 0, 0}},
        // Closing marks and non-starters never begin a line.
        {"中，文。", {1, 0, 1, 0, 0}},
        // Opening brackets: a break before, never after.
        {"中（文）", {1, 1, 0, 0, 0}},
        // Inside a run of spaces a break before every space but the first.
        {"ab   cd", {1, 0, 0, 1, 1, 1, 0, 0}},
        // A space right after an opening bracket keeps the state 2.
        {"（ 中", {1, 0, 0, 0}},
        // Percent and point: no break before; a number after a point is still a number.
        {"50% 3.5", {1, 0, 0, 0, 1, 0, 0, 0}},
        // A word after a number, an ideograph after a word.
        {"3a中", {1, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        RichText t = makeText(c.text, 100000, 100000);
        EXPECT_EQ(breakMarks(t), c.marks) << c.text;
    }
}

TEST(LayoutTest, PriceWithCurrencyWrapsAsOneNumber) {
    // "ab " is 310 wide, "￥12.50" 650: together they pass 800, so the price moves down whole.
    RichText t = makeText("ab ￥12.50", 800, 10000);
    EXPECT_EQ(column(t, &TextItem::lineTop), (V{0, 0, 0, 220, 220, 220, 220, 220, 220, 220}));
    EXPECT_EQ(column(t, &TextItem::x), (V{0, 100, 200, 0, 200, 300, 400, 450, 550, 650}));
    EXPECT_EQ(t.extent(), 440);
}

TEST(LayoutTest, WordWiderThanFrameIsSplitBetweenCharacters) {
    RichText t = makeText("abcdef", 250, 10000);
    EXPECT_EQ(column(t, &TextItem::x), (V{0, 100, 0, 100, 0, 100, 200}));
    EXPECT_EQ(column(t, &TextItem::y), (V{180, 180, 400, 400, 620, 620, 620}));
    EXPECT_EQ(breakMarks(t), (V{1, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(t.extent(), 660);
}

TEST(LayoutTest, CharacterWiderThanFrameStandsAlone) {
    RichText t = makeText("中中", 150, 10000);
    EXPECT_EQ(column(t, &TextItem::lineTop), (V{0, 200, 200}));
    EXPECT_EQ(column(t, &TextItem::x), (V{0, 0, 200}));
}

TEST(LayoutTest, ClosingMarkJoinsTheTextBeforeIt) {
    // 文， is one segment (300): it passes the 550 frame after 中中 and moves down whole.
    RichText t = makeText("中中文，", 550, 10000);
    EXPECT_EQ(column(t, &TextItem::lineTop), (V{0, 0, 200, 200, 200}));
    EXPECT_EQ(column(t, &TextItem::x), (V{0, 200, 0, 200, 300}));
}

struct AlignCase {
    const char* name;
    const char* text;
    int alignment;
    int width;
    V x;
    V drawn;
};

TEST(LayoutTest, LinePlacementInFourAlignments) {
    const AlignCase cases[] = {
        // Two spaces: the wrapped line begins with a space, which left alignment drops.
        {"left two spaces",
         "ab  cd",
         RichText::Left,
         320,
         {0, 100, 200, 0, 0, 100, 200},
         {100, 100, 110, 0, 100, 100, 0}},
        // Justified: the first line ends on the edge with b unstretched; the last line
        // of the paragraph is left-aligned and loses its leading space.
        {"fill two spaces",
         "ab  cd",
         RichText::Fill,
         320,
         {0, 220, 320, 0, 0, 100, 200},
         {220, 100, 0, 0, 100, 100, 0}},
        // Trailing spaces do not move right or centred text away from the edge.
        {"right trailing space",
         "ab ",
         RichText::Right,
         500,
         {300, 400, 500, 500},
         {100, 100, 0, 0}},
        {"centre trailing space",
         "ab ",
         RichText::Centre,
         500,
         {150, 250, 350, 350},
         {100, 100, 0, 0}},
        // A single paragraph is its own last line: fill places it left.
        {"fill last line",
         "ab cd",
         RichText::Fill,
         1000,
         {0, 100, 200, 310, 410, 510},
         {100, 100, 110, 100, 100, 0}},
    };
    for (const auto& c : cases) {
        RichText t = makeText(c.text, c.width, 10000, c.alignment);
        EXPECT_EQ(column(t, &TextItem::x), c.x) << c.name;
        EXPECT_EQ(column(t, &TextItem::drawnWidth), c.drawn) << c.name;
    }
}

TEST(LayoutTest, JustifiedLinesEndExactlyOnTheRightEdge) {
    // Rounding of every stretched item must not leave a gap before the edge.
    RichText t = makeText("aaa bbb ccc ddd eee fff ggg", 1234, 10000, RichText::Fill);
    int lastVisible = -1;
    for (int i = 0; i < t.itemCount() - 1; ++i) {
        const TextItem& it = t.item(i);
        const bool lineEnds = t.item(i + 1).lineTop != it.lineTop;
        if (it.itemClass() != ItemClass::Space)
            lastVisible = i;
        if (lineEnds && t.item(i + 1).lineTop != 0 && lastVisible >= 0 &&
            t.item(i).lineTop == t.item(lastVisible).lineTop) {
            const TextItem& v = t.item(lastVisible);
            EXPECT_EQ(v.x + v.drawnWidth, 1234) << "line at " << v.lineTop;
            EXPECT_EQ(v.drawnWidth, v.advance);
        }
    }
}

TEST(LayoutTest, JustifiedLineInAnA0FrameKeepsItsFullWidth) {
    // At 360 points "a" is 3600 wide; stretched over a 60000 twip line it passes 16 bits.
    RichText t = makeText("a WWWWWWWWWW", 60000, 100000, RichText::Fill, 360);
    EXPECT_EQ(t.item(0).drawnWidth, 60000);
    EXPECT_EQ(t.item(2).lineTop, t.item(0).lineHeight);
}

TEST(LayoutTest, LineGapFollowsSpacingAndSize) {
    const struct {
        int spacing, size, gap;
    } cases[] = {{-25, 24, -120}, {25, 24, 120}, {-12, 10, -24}, {9, 10, 18}, {1, 7, 1}};
    for (const auto& c : cases) {
        RichText t = makeText("a\nb", 1000, 1000, RichText::Left, c.size, c.spacing);
        EXPECT_EQ(t.lineGap(), c.gap) << c.spacing << " " << c.size;
        EXPECT_EQ(t.item(2).lineTop, t.item(0).lineHeight + c.gap);
    }
}

TEST(LayoutTest, CharacterSpacingWidensTheAdvance) {
    const struct {
        int spacing, size, width, advance;
    } cases[] = {{200, 10, 100, 300}, {25, 25, 250, 312}, {0, 10, 100, 100}, {75, 10, 100, 175}};
    for (const auto& c : cases) {
        RichText t = makeText("", 100000, 100000, RichText::Left, c.size);
        t.applyStyle(RichText::CharSpacing, c.spacing, false);
        t.typeCharacter('a');
        EXPECT_EQ(t.item(0).width, c.width);
        EXPECT_EQ(t.item(0).advance, c.advance) << c.spacing;
    }
}

TEST(LayoutTest, ForcedLineBreaksStartParagraphs) {
    RichText t = makeText("ab\n cd", 1000, 10000, RichText::Left);
    // A paragraph start keeps its leading space.
    EXPECT_EQ(column(t, &TextItem::x), (V{0, 100, 200, 0, 110, 210, 310}));
    EXPECT_EQ(column(t, &TextItem::lineTop), (V{0, 0, 0, 220, 220, 220, 220}));
}

TEST(LayoutTest, VerticalColumnsRunRightToLeft) {
    RichText t;
    t.setMetrics(&fixedMetrics());
    t = RichText(1000, 300, gbk("中文字"), styleOfSize(10), TextKind::Fixed, 10, 0, RichText::Left);
    t.setMetrics(&fixedMetrics());
    t.setVertical(true);
    t.layout();
    EXPECT_EQ(column(t, &TextItem::x), (V{840, 640, 420, 420}));
    EXPECT_EQ(column(t, &TextItem::y), (V{0, 0, 0, 200}));
    EXPECT_EQ(column(t, &TextItem::lineTop), (V{0, 200, 400, 400}));
    EXPECT_EQ(t.extent(), 620);
}

TEST(LayoutTest, VerticalPunctuationWidths) {
    RichText t = makeText("中，）", 100000, 100000);
    EXPECT_EQ(column(t, &TextItem::width), (V{200, 100, 100, 0}));
    t.setVertical(true);
    t.layout();
    // ， takes a full em in a column, ） stays half.
    EXPECT_EQ(column(t, &TextItem::width), (V{200, 200, 100, 0}));
}

TEST(LayoutTest, EndItemCarriesTheStyleOfTheTextBeforeIt) {
    RichText t = makeText("a", 1000, 1000, RichText::Left, 10);
    t.selectAll();
    t.applyStyle(RichText::Size, 20, false);
    t.layout();
    EXPECT_EQ(t.item(1).style->size, 20);
    EXPECT_EQ(t.item(1).height, 440);
}

}  // namespace

TEST(LayoutTest, LongUnbreakableRunsAreSplitInLinearTime) {
    // At size 10 "a" and "1" take 100 and a line 220: a 1000-wide frame holds 9 of them
    // (a forced split stops before the item that would reach the edge). A run of 200,000
    // used to be walked again for every one of its 22,223 lines.
    const QByteArray run(200000, 'a');
    const QByteArray digits(200000, '1');
    const struct {
        const char* name;
        QByteArray text;
        int lines;
    } cases[] = {
        {"word", run, 22223},
        {"number", digits, 22223},
        {"after a short word", "ab " + run, 22224},
        {"two paragraphs", QByteArray(9 * 1000, 'a') + "\n" + QByteArray(9 * 1000, 'b'), 2000},
    };
    for (const auto& c : cases) {
        RichText t;
        t.setMetrics(&fixedMetrics());
        t = RichText(1000, 100000000, c.text, styleOfSize(10), TextKind::Fixed, 10, 0,
                     RichText::Left);
        t.setMetrics(&fixedMetrics());
        QElapsedTimer clock;
        clock.start();
        t.layout();
        EXPECT_LT(clock.elapsed(), 1000) << c.name;
        std::set<int> tops;
        for (int i = 0; i < t.itemCount(); ++i)
            tops.insert(t.item(i).lineTop);
        EXPECT_EQ(int(tops.size()), c.lines) << c.name;
        EXPECT_EQ(t.extent(), c.lines * 220) << c.name;
        for (int i = 0; i < t.itemCount(); ++i) {
            ASSERT_LE(t.item(i).x + t.item(i).drawnWidth, 1000) << c.name << " item " << i;
        }
    }
}
