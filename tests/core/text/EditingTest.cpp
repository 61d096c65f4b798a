#include <gtest/gtest.h>

#include "TextFixtures.h"
#include "core/text/CharClasses.h"
#include "core/text/PriceItem.h"

using namespace pemo;
using namespace pemo::test;
using V = std::vector<int>;

namespace {

constexpr int32_t kVariable1 = 0x02020001;

// Bytes of every character item (lead, then trail when it has one), for comparing.
QByteArray itemBytes(const RichText& t) {
    QByteArray out;
    for (int i = 0; i < t.itemCount(); ++i) {
        const TextItem& it = t.item(i);
        if (it.itemClass() == ItemClass::LineBreak)
            out.append('|');
        if (it.itemClass() == ItemClass::End)
            out.append('$');
        if (it.lead)
            out.append(char(it.lead));
        if (it.trail)
            out.append(char(it.trail));
    }
    return out;
}

TEST(EditingTest, InsertTextTurnsBytesIntoItems) {
    const struct {
        const char* name;
        QByteArray input;
        V classes;
        QByteArray bytes;
    } cases[] = {
        {"ascii classes", "a 1.%", {65300, 65299, 65303, 65304, 65301, 65297}, "a 1.%$"},
        {"full-width forms",
         "!$(),:;<>?[]{}",
         {65310, 65308, 65309, 65310, 65310, 65310, 65310, 65309, 65310, 65310, 65309, 65310, 65309,
          65310, 65297},
         gbk("！￥（），：；〈〉？［］｛｝$")},
        {"full-width space is two spaces",
         gbk("中　文"),
         {65306, 65299, 65299, 65306, 65297},
         gbk("中  文$")},
        {"tab is four spaces", "\t", {65299, 65299, 65299, 65299, 65297}, "    $"},
        {"line ends",
         "a\r\nb\rc\nd",
         {65300, 65298, 65300, 65298, 65300, 65298, 65300, 65297},
         "a|b|c|d$"},
        {"control bytes skipped",
         QByteArray("a\x01\x7f"
                    "b",
                    4),
         {65300, 65300, 65297},
         "ab$"},
        {"lone lead byte ends the text", QByteArray("a\xD6", 2), {65300, 65297}, "a$"},
        {"double-byte classes",
         gbk("。￡“、中"),
         {65307, 65308, 65309, 65310, 65306, 65297},
         gbk("。￡“、中$")},
    };
    for (const auto& c : cases) {
        RichText t = makeText("", 10000, 10000);
        t.insertText(c.input);
        EXPECT_EQ(classes(t), c.classes) << c.name;
        EXPECT_EQ(itemBytes(t), c.bytes) << c.name;
        EXPECT_EQ(t.caret(), (TextPosition{t.endIndex(), true})) << c.name;
        EXPECT_EQ(t.anchor(), t.caret()) << c.name;
    }
}

TEST(EditingTest, TypeCharacterKeys) {
    const struct {
        const char* name;
        uint8_t lead, trail;
        QByteArray bytes;
    } cases[] = {
        {"full-width space", 0xA1, 0xA1, "x  $"},
        {"tab", '\t', 0, "x    $"},
        {"enter", '\r', 0, "x|$"},
        {"comma becomes full width", ',', 0, gbk("x，$")},
        {"ideograph", 0xD6, 0xD0, gbk("x中$")},
    };
    for (const auto& c : cases) {
        RichText t = makeText("", 10000, 10000);
        t.typeCharacter('x');
        t.typeCharacter(c.lead, c.trail);
        EXPECT_EQ(itemBytes(t), c.bytes) << c.name;
    }
}

TEST(EditingTest, InsertionAtACaretAfterAnItem) {
    RichText t = makeText("ac", 10000, 10000);
    t.setSelection({0, false}, {0, false});
    t.typeCharacter('b');
    EXPECT_EQ(itemBytes(t), "abc$");
    EXPECT_EQ(t.caret(), (TextPosition{1, false}));
    // After the end item nothing may be inserted.
    t.setSelection({3, false}, {3, false});
    t.typeCharacter('d');
    EXPECT_EQ(itemBytes(t), "abcd$");
    EXPECT_EQ(t.item(t.endIndex()).itemClass(), ItemClass::End);
}

// "ab" + variable value "XY" + "cd".
RichText withPlaceholder() {
    RichText t = makeText("ab", 10000, 10000);
    t.setSelection({2, true}, {2, true});
    t.insertText("XY", kVariable1);
    t.insertText("cd");
    return t;
}

TEST(EditingTest, PlaceholderValuesCannotBeDeleted) {
    const struct {
        const char* name;
        TextPosition anchor, caret;
        int op;  // 0 backward, 1 forward, 2 selected
        QByteArray bytes;
        TextPosition after;
    } cases[] = {
        {"backspace after the value", {4, true}, {4, true}, 0, "abXYcd$", {4, true}},
        {"backspace before the value", {2, true}, {2, true}, 0, "aXYcd$", {1, true}},
        {"delete before the value", {2, true}, {2, true}, 1, "abXYcd$", {2, true}},
        {"delete at the end item", {6, true}, {6, true}, 1, "abXYcd$", {6, true}},
        {"delete after an item", {0, false}, {0, false}, 1, "aXYcd$", {1, true}},
        {"delete after the item before the value", {1, false}, {1, false}, 1, "abXYcd$", {2, true}},
        {"backspace at 0", {0, true}, {0, true}, 0, "abXYcd$", {0, true}},
        {"selection over everything", {0, true}, {6, true}, 2, "XY$", {0, true}},
        {"selection inside fixed text", {4, true}, {6, true}, 2, "abXY$", {4, true}},
    };
    for (const auto& c : cases) {
        RichText t = withPlaceholder();
        t.setSelection(c.anchor, c.caret);
        if (c.op == 0)
            t.deleteBackward();
        if (c.op == 1)
            t.deleteForward();
        if (c.op == 2)
            t.deleteSelected();
        EXPECT_EQ(itemBytes(t), c.bytes) << c.name;
        EXPECT_EQ(t.caret(), c.after) << c.name;
    }
}

TEST(EditingTest, SelectionRangeAndText) {
    RichText t = withPlaceholder();
    const struct {
        TextPosition anchor, caret;
        std::pair<int, int> range;
        QByteArray text;
    } cases[] = {
        {{0, true}, {2, true}, {0, 2}, "ab"}, {{5, false}, {1, true}, {1, 6}, "bXYcd"},
        {{1, false}, {3, true}, {2, 3}, "X"}, {{2, true}, {2, false}, {2, 3}, "X"},
        {{3, true}, {3, true}, {3, 4}, ""},  // no selection, no text
    };
    for (const auto& c : cases) {
        t.setSelection(c.anchor, c.caret);
        EXPECT_EQ(t.selectionRange(), c.range);
        EXPECT_EQ(t.selectedText(), c.text);
    }
    RichText lines = makeText("a\n中 ", 10000, 10000);
    lines.selectAll();
    EXPECT_EQ(lines.selectedText(), gbk("a\n中 "));
}

TEST(EditingTest, PlaceholderTextReplacesTheRunInItsFirstStyle) {
    RichText t = withPlaceholder();
    t.setSelection({3, true}, {4, true});  // Y
    t.applyStyle(RichText::Bold, 1, false);
    t.setSelection({2, true}, {3, true});  // X
    t.applyStyle(RichText::TextColour, 0xFF, false);
    t.setSelection({5, true}, {5, true});  // caret before d
    t.setPlaceholderText(gbk("商品"), kVariable1, false);
    EXPECT_EQ(itemBytes(t), gbk("ab商品cd$"));
    EXPECT_EQ(t.item(2).style->textColour, 0xFF);
    EXPECT_EQ(t.item(3).style->textColour, 0xFF);
    EXPECT_EQ(t.item(3).style->bold, 0);
    EXPECT_EQ(t.item(3).kind, kVariable1);
    EXPECT_EQ(t.caret().index, 5);  // still before d
    // A kind the content does not hold changes nothing.
    t.setPlaceholderText("zz", kVariable1 + 1, false);
    EXPECT_EQ(itemBytes(t), gbk("ab商品cd$"));
}

TEST(EditingTest, EmptinessIgnoresReservedItems) {
    RichText empty = makeText("", 1000, 1000);
    EXPECT_TRUE(empty.isEmpty());
    RichText t = makeText("a", 1000, 1000);
    EXPECT_FALSE(t.isEmpty());
    t.setSelection({1, true}, {1, true});
    EXPECT_TRUE(t.isEmptyAfterCaret());
    RichText br = makeText("\n", 1000, 1000);
    EXPECT_FALSE(br.isEmpty());
}

TEST(EditingTest, ApplyStyleWithoutSelectionOnlyChangesTypingStyle) {
    RichText t = makeText("ab", 1000, 1000);
    t.setSelection({1, true}, {1, true});
    EXPECT_FALSE(t.applyStyle(RichText::Underline, 1, false));
    EXPECT_EQ(t.item(0).style->underline, 0);
    EXPECT_EQ(t.typingStyle->underline, 1);
    t.typeCharacter('x');
    EXPECT_EQ(t.item(1).style->underline, 1);
    EXPECT_TRUE(t.applyStyle(RichText::ChineseFace, gbk("黑体"), false) == false);
    t.selectAll();
    EXPECT_TRUE(t.applyStyle(RichText::WesternFace, QByteArray("Courier New"), false));
    EXPECT_EQ(t.item(2).style->westernFace, "Courier New");
}

TEST(EditingTest, SearchingMatchesOnCharacterBoundaries) {
    // B0D4 ADBC DBxx: the bytes of 原价 (D4AD BCDB) straddle three characters.
    const QByteArray straddling("\xB0\xD4\xAD\xBC\xDB\xA1", 6);
    EXPECT_EQ(CharClasses::indexOfOnBoundary(straddling, gbk("原价")), -1);
    EXPECT_EQ(CharClasses::indexOfOnBoundary(gbk("a{原价}"), gbk("原价")), 2);
    EXPECT_EQ(CharClasses::indexOfOnBoundary(gbk("中a"), "a"), 2);

    PriceItem price;
    price.valueText = straddling;
    EXPECT_FALSE(price.isName());
    price.valueText = gbk("{原价}");
    EXPECT_TRUE(price.isName());
}

TEST(EditingTest, ConstructionOfAPriceBlockHoldsOnePriceItem) {
    RichText t(1000, 500, gbk("{现价}"), styleOfSize(10), TextKind::CurrentPrice, 24, 50,
               RichText::Fill);
    ASSERT_EQ(t.itemCount(), 2);
    EXPECT_EQ(t.item(0).itemClass(), ItemClass::Price);
    EXPECT_EQ(t.caret(), (TextPosition{0, true}));
    t.setPriceText("9.90", TextKind::CurrentPrice, false);
    EXPECT_EQ(static_cast<const PriceItem&>(t.item(0)).valueText, "9.90");
    EXPECT_EQ(t.selectedText(), "");
    t.selectAll();
    EXPECT_EQ(t.selectedText(), "9.90");
}

}  // namespace
