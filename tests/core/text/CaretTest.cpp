#include <gtest/gtest.h>

#include "TextFixtures.h"

using namespace pemo;
using namespace pemo::test;

namespace {

constexpr int32_t kVariable1 = 0x02020001;

// "ab" + variable value "XY" + "cd" on one line: x = 0, 100, .. 500, end at 600.
RichText withPlaceholder() {
    RichText t = makeText("ab", 10000, 10000);
    t.setSelection({2, true}, {2, true});
    t.insertText("XY", kVariable1);
    t.insertText("cd");
    return t;
}

enum Move { Left, Right, Up, Down, Home, End, TextStart, TextEnd };

void move(RichText& t, Move m, bool extend = false) {
    switch (m) {
        case Left:
            t.caretLeft(extend);
            break;
        case Right:
            t.caretRight(extend);
            break;
        case Up:
            t.caretUp(extend);
            break;
        case Down:
            t.caretDown(extend);
            break;
        case Home:
            t.caretLineStart(extend);
            break;
        case End:
            t.caretLineEnd(extend);
            break;
        case TextStart:
            t.caretTextStart(extend);
            break;
        case TextEnd:
            t.caretTextEnd(extend);
            break;
    }
}

TEST(CaretTest, MovesNeverStopInsideAPlaceholderValue) {
    const struct {
        const char* name;
        TextPosition from;
        Move move;
        int to;
    } cases[] = {
        {"left from after the value jumps to its start", {4, true}, Left, 2},
        {"left from after Y", {3, false}, Left, 2},
        {"left in fixed text", {2, true}, Left, 1},
        {"left at 0", {0, true}, Left, 0},
        {"right into the value jumps past it", {2, true}, Right, 4},
        {"right from before b passes the whole value", {1, true}, Right, 4},
        {"right from after d", {5, false}, Right, 6},
        {"right at the end", {6, true}, Right, 6},
        {"home", {5, true}, Home, 0},
        {"end", {1, true}, End, 6},
        {"text end", {1, true}, TextEnd, 6},
        {"text start", {5, true}, TextStart, 0},
    };
    for (const auto& c : cases) {
        RichText t = withPlaceholder();
        t.setSelection(c.from, c.from);
        move(t, c.move);
        EXPECT_EQ(t.caret(), (TextPosition{c.to, true})) << c.name;
        EXPECT_EQ(t.anchor(), t.caret()) << c.name;
    }
}

TEST(CaretTest, ExtendKeepsTheAnchor) {
    RichText t = withPlaceholder();
    t.setSelection({5, true}, {5, true});
    t.caretLeft(true);
    t.caretLeft(true);
    EXPECT_EQ(t.anchor(), (TextPosition{5, true}));
    EXPECT_EQ(t.caret(), (TextPosition{2, true}));
    EXPECT_EQ(t.selectedText(), "XYc");
}

TEST(CaretTest, CaretFromPoint) {
    RichText t = withPlaceholder();
    const struct {
        const char* name;
        int x, y;
        int index;
    } cases[] = {
        {"left half of a", 40, 100, 0},
        {"right half of a", 60, 100, 1},
        {"right half of d", 560, 100, 6},
        // A click on the value gives the nearest character that can hold the caret.
        {"on X", 230, 100, 1},
        {"on Y", 310, 100, 4},
        {"right of the line", 5000, 100, 6},
        {"below the text", 120, 5000, 1},
    };
    for (const auto& c : cases) {
        t.setSelection({0, true}, {0, true});
        EXPECT_EQ(t.caretFromPoint(c.x, c.y), (TextPosition{c.index, true})) << c.name;
    }
}

TEST(CaretTest, UpAndDownKeepTheColumn) {
    // Three lines ab / cd / ef (forced splits at 250), each 220 high.
    for (int spacing : {0, 25, -25}) {
        RichText t = makeText("abcdef", 250, 10000, RichText::Left, 10, spacing);
        t.setSelection({3, true}, {3, true});  // before d
        t.caretUp(false);
        EXPECT_EQ(t.caret().index, 1) << spacing;  // before b
        t.caretDown(false);
        t.caretDown(false);
        EXPECT_EQ(t.caret().index, 5) << spacing;  // before f
    }
}

TEST(CaretTest, HomeAndEndOfAWrappedLine) {
    RichText t = makeText("abcdef", 250, 10000);
    t.setSelection({3, true}, {3, true});
    t.caretLineStart(false);
    EXPECT_EQ(t.caret().index, 2);
    t.setSelection({2, true}, {2, true});
    t.caretLineEnd(false);
    EXPECT_EQ(t.caret().index, 3);
}

TEST(CaretTest, SetCaretAtAndExtendSelection) {
    RichText t = withPlaceholder();
    t.setCaretAt(40, 100, false);
    t.extendSelectionTo(560, 100);
    EXPECT_EQ(t.anchor(), (TextPosition{0, true}));
    EXPECT_EQ(t.caret(), (TextPosition{6, true}));
    EXPECT_EQ(t.selectedText(), "abXYcd");
}

TEST(CaretTest, CaretGeometry) {
    RichText t = makeText("ab", 10000, 10000);
    t.setSelection({1, true}, {1, true});
    // Line: baseline 180, cell 220. At 96 dpi: height 14, left 6, top 12 - 10.
    EXPECT_EQ(t.caretRect({1.0, 0, 0, 96, 96}), QRect(6, 2, 2, 14));
    EXPECT_EQ(t.caretRect({2.0, 10, 20, 96, 96}), QRect(22, 20 + 24 - 21, 2, 28));
    t.setSelection({0, true}, {1, true});
    EXPECT_FALSE(t.caretRect({1.0, 0, 0, 96, 96}).has_value());

    t.setVertical(true);
    t.layout();
    t.setSelection({1, true}, {1, true});
    // Column baseline x = 10000 - 180; b at y = 100.
    const int left = int(96 * 9820 / 1440);
    EXPECT_EQ(t.caretRect({1.0, 0, 0, 96, 96}), QRect(left, 6, 96 * 165 / 1440, 2));
}

TEST(CaretTest, VerticalMovesBetweenColumns) {
    RichText t;
    t.setMetrics(&fixedMetrics());
    t = RichText(1000, 300, pemo::test::gbk("中文字"), styleOfSize(10), TextKind::Fixed, 10, 0,
                 RichText::Left);
    t.setMetrics(&fixedMetrics());
    t.setVertical(true);
    t.layout();
    t.setSelection({0, true}, {0, true});
    t.caretLeft(false);  // the column left of 中 holds 文
    EXPECT_EQ(t.caret().index, 1);
    t.caretRight(false);
    EXPECT_EQ(t.caret().index, 0);
    t.caretDown(false);
    EXPECT_EQ(t.caret().index, 1);
    t.caretUp(false);
    EXPECT_EQ(t.caret().index, 0);
}

TEST(CaretTest, MovesTellTheTypingStyle) {
    RichText t = makeText("ab", 10000, 10000);
    t.setSelection({1, true}, {2, true});
    t.applyStyle(RichText::Bold, 1, false);
    std::vector<int> bold;
    t.setTypingStyleListener([&](const CharStyle& s) { bold.push_back(s.bold); });
    t.caretTextStart(false);
    t.caretRight(false);
    t.caretRight(true);
    EXPECT_EQ(bold, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(t.typingStyle->bold, 1);
}

}  // namespace
