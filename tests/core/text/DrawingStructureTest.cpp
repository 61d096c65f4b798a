// What drawing puts on the device, read back from a recording paint device: the
// glyphs with their fonts, positions and turns, the lines and the inverted bands.
// Layout uses fixed metrics, so every position is exact.
#include <gtest/gtest.h>

#include <memory>

#include <QFontMetrics>

#include "RecordingDevice.h"
#include "TextFixtures.h"
#include "core/text/FontFaces.h"
#include "core/text/PriceItem.h"
#include "core/text/TextPaint.h"

using namespace pemo;
using namespace pemo::test;

namespace {

// 30 points at 96 dpi: fonts of 40 pixels; a Chinese cell of 35 above and 5 below.
RichText fixedText(const char* utf8, int width, int height, bool vertical, int size = 30,
                   int32_t kind = TextKind::Fixed) {
    CharStyle style = styleOfSize(size);
    style.chineseFace = gbk("黑体");
    RichText t(width, height, gbk(utf8), style, kind, size, 0, RichText::Left);
    t.setMetrics(&fixedMetrics());
    t.setVertical(vertical);
    t.layout();
    return t;
}

RecordingEngine& record(const RichText& t, bool selection = false, double zoom = 1.0) {
    static std::unique_ptr<RecordingDevice> device;
    device = std::make_unique<RecordingDevice>();
    QPainter p(device.get());
    t.draw(p, TextDevice{zoom, 0, 0, 96, 96}, selection);
    p.end();
    return device->engine;
}

bool turned(const QTransform& t) {
    return t.m11() == 0 && t.m12() == 1 && t.m21() == -1;
}

TEST(DrawingStructureTest, VerticalGlyphsUprightMovedOrTurned) {
    // Column baseline x = 3000 - 540 = 2460 twips = 164 px.
    RichText t = fixedText("中“。！）a", 3000, 100000, true);
    ASSERT_EQ(t.item(0).x, 2460);
    const auto& texts = record(t).texts;
    // Punctuation is placed by its ink (a test of its own): only its column is pinned here.
    const struct {
        QString text;
        QPointF origin;
        bool turned;
        bool byInk;
    } expected[] = {
        {"中", {159, 35}, false, false},  // cell top-left (164 - 5, 0)
        {"『", {164, 0}, true, true},     // “ drawn as 『, turned
        {"。", {0, 0}, false, true},      // in the cell's upper right quarter
        {"！", {169, 135}, false, false}, // only moved right: (2610, 1500)
        {"）", {164, 0}, true, true},     {"a", {164, 160}, true, false},
    };
    ASSERT_EQ(texts.size(), std::size(expected));
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].text, expected[i].text) << i;
        if (!expected[i].byInk) {
            EXPECT_EQ(texts[i].origin, expected[i].origin) << i;
        } else if (expected[i].turned) {
            EXPECT_EQ(texts[i].origin.x(), expected[i].origin.x()) << i;
        }
        EXPECT_EQ(turned(texts[i].transform), expected[i].turned) << i;
        EXPECT_EQ(texts[i].pixelSize, 40) << i;
    }
    EXPECT_EQ(texts[0].family, "Noto Sans CJK SC");
    EXPECT_EQ(texts[5].family, "Liberation Sans");
}

TEST(DrawingStructureTest, TurnedGlyphsShowNoArtEffect) {
    RichText t = fixedText("中（a", 3000, 100000, true);
    t.selectAll();
    CharStyle art = t.item(0).style;
    art.effect = 1;
    t.applyArtSettings(art, false);
    QStringList painted;
    TextPaint::setCharacterPainter(
        [&](QPainter&, QPoint, const QString& text, const QFont&, const CharStyle& style, int s) {
            EXPECT_EQ(style.effect, 1);
            EXPECT_EQ(s, 1);
            painted << text;
        });
    const auto& texts = record(t).texts;
    TextPaint::setCharacterPainter(nullptr);
    EXPECT_EQ(painted, QStringList{"中"});
    EXPECT_EQ(texts.size(), 2u);  // the two turned glyphs, plain
}

TEST(DrawingStructureTest, HorizontalOpeningBracketSitsInItsHalfCell) {
    // （ measures half an em (300): its glyph's ink ends at the end of its own half
    // cell, against the "a"; the underline stays under its own cell.
    RichText t = fixedText("（a", 30000, 10000, false);
    t.selectAll();
    t.applyStyle(RichText::Underline, 1, false);
    t.setSelection({0, true}, {0, true});
    const auto& engine = record(t);
    ASSERT_EQ(engine.texts.size(), 2u);
    EXPECT_EQ(engine.texts[0].origin.y(), 36);  // baseline 540 twips
    const QRect ink = QFontMetrics(FontFaces::font(gbk("黑体"), 40, false, false))
                          .tightBoundingRect(QString::fromUtf8("（"));
    const double inkEnd = engine.texts[0].origin.x() + ink.left() + ink.width();
    EXPECT_LE(inkEnd, 20);
    EXPECT_GE(inkEnd, 20 - 4 - 1);  // at most a tenth of the em from its neighbour
    EXPECT_EQ(engine.texts[1].origin, QPointF(20, 36));
    ASSERT_EQ(engine.lines.size(), 2u);
    // u = 8/72 inch = 10 px below the baseline, from X to X + w + 2.
    EXPECT_EQ(engine.lines[0].line, QLineF(0, 46, 22, 46));
    EXPECT_EQ(engine.lines[1].line, QLineF(20, 46, 42, 46));
    EXPECT_EQ(engine.lines[0].width, 1);
}

TEST(DrawingStructureTest, VerticalSideLineAndSelectionCells) {
    RichText t = fixedText("中文", 3000, 100000, true);
    t.selectAll();
    t.applyStyle(RichText::Underline, 1, false);
    const auto& engine = record(t, true);
    // Side line left of the column: X - d - v = 164 - 5 - 2, drawnWidth 600 = 40 px + 2.
    ASSERT_EQ(engine.lines.size(), 2u);
    EXPECT_EQ(engine.lines[0].line, QLineF(157, 0, 157, 42));
    EXPECT_EQ(engine.lines[1].line, QLineF(157, 40, 157, 82));
    // One band down the column: left = 164 - 5, width = line height 660 = 44 px.
    ASSERT_EQ(engine.inverted.size(), 1u);
    EXPECT_EQ(engine.inverted[0], QRect(159, 0, 44, 80));
}

TEST(DrawingStructureTest, SelectionBandsPerLine) {
    // Lines "ab" / "cd" (forced split at 250 twips, size 10); each cell is 6 px wide
    // (100 twips), its left edge rounded on its own.
    RichText t = fixedText("abcd", 250, 10000, false, 10);
    t.setSelection({1, true}, {3, false});
    const auto& engine = record(t, true);
    ASSERT_EQ(engine.inverted.size(), 2u);
    EXPECT_EQ(engine.inverted[0], QRect(6, 0, 6, 14));
    EXPECT_EQ(engine.inverted[1], QRect(0, 14, 12, 14));
    EXPECT_TRUE(record(t, false).inverted.empty());
}

TEST(DrawingStructureTest, EveryPriceStyle) {
    // 12.80 at 48 points: "12" in 64 px fonts, ".80" at 28 points in 37 px; baseline
    // 864 twips = 57 px; h = 960, so raised decimals sit on (864 - 240) = 41 px and the
    // cross spans from 3h/5 above the baseline (19 px) to it. The price is 2160 twips
    // wide (144 px) at full size, 1660 (110 px) with small decimals.
    enum Decimals { Full, Small, Raised };
    enum Line { None, Cross, Strike, Base };
    const struct {
        int style;
        Decimals decimals;
        Line line;
    } cases[] = {{0, Full, None},    {1, Full, None},   {2, Full, Cross},    {3, Full, Strike},
                 {4, Full, Base},    {5, Small, None},  {6, Small, Cross},   {7, Small, Strike},
                 {8, Small, Base},   {9, Raised, None}, {10, Raised, Cross}, {11, Raised, Strike},
                 {12, Raised, Base}, {13, Full, None},  {14, Small, None},   {15, Raised, None}};
    for (const auto& c : cases) {
        RichText t = fixedText("12.80", 30000, 10000, false, 48, TextKind::OriginalPrice);
        static_cast<PriceItem&>(t.item(0)).priceStyle = c.style;
        t.layout();
        const auto& engine = record(t);
        ASSERT_EQ(engine.texts.size(), 5u) << c.style;
        const int small = c.decimals == Full ? 64 : 37;
        std::vector<int> sizes;
        for (const auto& d : engine.texts)
            sizes.push_back(d.pixelSize);
        EXPECT_EQ(sizes, (std::vector<int>{64, 64, small, small, small})) << c.style;
        EXPECT_EQ(engine.texts[1].origin.y(), 57) << c.style;
        EXPECT_EQ(engine.texts[3].origin.y(), c.decimals == Raised ? 41 : 57) << c.style;

        const int xe = c.decimals == Full ? 144 : 110;
        std::vector<QLineF> lines;
        if (c.line == Cross)
            lines = {QLineF(0, 19, xe, 57), QLineF(0, 57, xe, 19)};
        if (c.line == Strike)
            lines = {QLineF(0, 38, xe, 38)};
        if (c.line == Base)
            lines = {QLineF(0, 57, xe, 57)};
        ASSERT_EQ(engine.lines.size(), lines.size()) << c.style;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(engine.lines[i].line, lines[i]) << c.style;
            EXPECT_EQ(engine.lines[i].colour, QColor(255, 0, 0)) << c.style;
            EXPECT_EQ(engine.lines[i].width, 3) << c.style;
        }
    }
}

TEST(DrawingStructureTest, PriceLineIsAtLeastTwoPixels) {
    // At 10 points and 96 dpi the line would be trunc(0.67) = 0 pixels wide.
    RichText t = fixedText("12.80", 30000, 10000, false, 10, TextKind::OriginalPrice);
    static_cast<PriceItem&>(t.item(0)).priceStyle = 4;
    t.layout();
    const auto& engine = record(t);
    ASSERT_EQ(engine.lines.size(), 1u);
    EXPECT_EQ(engine.lines[0].width, 2);
}

TEST(DrawingStructureTest, PriceNameIsDrawnAtFullSize) {
    RichText t = fixedText("{原价}", 30000, 10000, false, 48, TextKind::OriginalPrice);
    static_cast<PriceItem&>(t.item(0)).priceStyle = 7;
    t.layout();
    const auto& engine = record(t);
    for (const auto& d : engine.texts)
        EXPECT_EQ(d.pixelSize, 64) << d.text.toStdString();
    EXPECT_EQ(engine.lines.size(), 1u);
}

TEST(DrawingStructureTest, PunctuationInkStaysInItsHalfCell) {
    // Some installed faces centre their full-width marks; the ink must still stay in
    // the half-em cell the layout gave the mark.
    for (const char* face : {"楷体", "仿宋", "幼圆", "黑体", "宋体"}) {
        RichText t = fixedText("中，：（a", 30000, 10000, false);
        t.selectAll();
        t.applyStyle(RichText::ChineseFace, gbk(face), false);
        const auto& texts = record(t).texts;
        ASSERT_EQ(texts.size(), 5u);
        for (int i : {1, 2, 3}) {
            QFont font;
            font.setFamilies({texts[i].family});
            font.setPixelSize(texts[i].pixelSize);
            const QRect box = QFontMetrics(font).tightBoundingRect(texts[i].text);
            const int left = int(texts[i].origin.x()) + box.left();
            const int right = int(texts[i].origin.x()) + box.right();
            const int cellLeft = t.item(i).x * 96 / 1440;
            const int cellRight = (t.item(i).x + t.item(i).width) * 96 / 1440;
            EXPECT_GE(left, cellLeft) << face << " " << i;
            EXPECT_LT(right, cellRight) << face << " " << i;
        }
    }
}

TEST(DrawingStructureTest, VerticalPriceRunsDownItsColumnTurned) {
    RichText t = fixedText("12.80", 3000, 100000, true, 48, TextKind::OriginalPrice);
    static_cast<PriceItem&>(t.item(0)).priceStyle = 4;
    t.layout();
    // Column baseline x = 3000 - 864 = 2136 twips = 142 px; the price starts at y 0.
    ASSERT_EQ(t.item(0).x, 2136);
    const auto& engine = record(t);
    ASSERT_EQ(engine.texts.size(), 5u);
    EXPECT_EQ(engine.texts[0].origin, QPointF(142, 0));
    EXPECT_EQ(engine.texts[1].origin, QPointF(142, 32));  // "2" 480 twips further down
    for (const auto& d : engine.texts)
        EXPECT_TRUE(turned(d.transform)) << d.text.toStdString();
    ASSERT_EQ(engine.lines.size(), 1u);
    EXPECT_EQ(engine.lines[0].line, QLineF(142, 0, 142, 144));
}

}  // namespace
