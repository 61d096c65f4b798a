// Glyph capture of 文字图形化: point types, overlapping contours, which items give
// pieces, where the pieces lie, and turned glyphs in vertical text.
#include <gtest/gtest.h>

#include <QPainter>

#include "TextFixtures.h"
#include "core/graphics/TextOutline.h"
#include "core/text/OutlineCapture.h"

using namespace pemo;
using namespace pemo::test;

namespace {

QRect boundsOf(const OutlinePiece& piece) {
    QRect r;
    for (const QPoint& p : piece.points) r |= QRect(p, QSize(1, 1));
    return r;
}

TextOutline captured(const char* utf8, bool vertical, int frameWidth = 20000, int frameHeight = 20000) {
    RichText t = makeText(utf8, frameWidth, frameHeight, RichText::Left, 30);
    t.setVertical(vertical);
    t.layout();
    TextOutline o;
    OutlineCapture::captureOutlines(t, o);
    return o;
}

TEST(OutlineCaptureTest, PathElementsBecomeTypedPoints) {
    QPainterPath lines;
    lines.moveTo(0, 0);
    lines.lineTo(10, 0);
    lines.lineTo(10, 10);
    lines.closeSubpath();
    lines.moveTo(20, 20);
    lines.cubicTo(30, 20, 30, 30, 20, 30);
    lines.moveTo(40, 40);  // a figure of one point keeps no closing flag
    OutlinePiece piece;
    OutlineCapture::appendPath(lines, piece);
    const std::vector<uint8_t> types{6, 2, 2, 3, 6, 4, 4, 5, 6};
    EXPECT_EQ(piece.types, types);
    ASSERT_EQ(piece.points.size(), types.size());
    EXPECT_EQ(piece.points[6], QPoint(30, 30));
}

TEST(OutlineCaptureTest, OverlappingContoursFillWithoutHoles) {
    // Two strokes of a cross, both turning the same way, and a ring whose hole turns
    // the other way.
    QPainterPath cross;
    cross.addRect(0, 40, 100, 20);
    cross.addRect(40, 0, 20, 100);
    QPainterPath ring;
    ring.moveTo(0, 0);
    ring.lineTo(100, 0);
    ring.lineTo(100, 100);
    ring.lineTo(0, 100);
    ring.closeSubpath();
    ring.moveTo(30, 30);
    ring.lineTo(30, 70);
    ring.lineTo(70, 70);
    ring.lineTo(70, 30);
    ring.closeSubpath();
    const struct {
        const char* name;
        QPainterPath path;
        QPointF probe;
        bool filled;
        bool unchanged;
    } cases[] = {
        {"cross centre", cross, {50, 50}, true, false},
        {"cross arm", cross, {10, 50}, true, false},
        {"ring hole", ring, {50, 50}, false, true},
        {"ring body", ring, {10, 10}, true, true},
    };
    for (const auto& c : cases) {
        QPainterPath result = OutlineCapture::withoutOverlaps(c.path);
        result.setFillRule(Qt::OddEvenFill);
        EXPECT_EQ(result.contains(c.probe), c.filled) << c.name;
        EXPECT_EQ(result.elementCount() == c.path.elementCount(), c.unchanged) << c.name;
    }
}

TEST(OutlineCaptureTest, OnlyDrawableCharactersGivePieces) {
    const struct {
        const char* text;
        size_t pieces;
    } cases[] = {{"   \n \n", 0}, {"", 0}, {"中 a\n国", 3}, {"促销!50%", 6}};
    for (const auto& c : cases) {
        for (bool vertical : {false, true})
            EXPECT_EQ(captured(c.text, vertical).pieces.size(), c.pieces) << c.text << vertical;
    }
}

TEST(OutlineCaptureTest, HorizontalPiecesSitInTheirCells) {
    RichText t = makeText("中l", 20000, 20000, RichText::Left, 30);
    TextOutline o;
    OutlineCapture::captureOutlines(t, o);
    ASSERT_EQ(o.pieces.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const OutlinePiece& p = o.pieces[size_t(i)];
        EXPECT_EQ(p.left, t.item(i).x);
        EXPECT_EQ(p.top, t.item(i).lineTop);
        const QRect ink = boundsOf(p);
        // One twip per unit: the glyph of a 30-point font is under 600 twips high and
        // stands on the baseline.
        EXPECT_GT(ink.height(), 150) << i;
        EXPECT_LT(ink.height(), 620) << i;
        EXPECT_LE(ink.bottom(), t.item(i).y - t.item(i).lineTop + 200) << i;
        EXPECT_GE(ink.left(), -60) << i;
    }
    // "l" is tall and thin.
    const QRect l = boundsOf(o.pieces[1]);
    EXPECT_GT(l.height(), 3 * l.width());
}

TEST(OutlineCaptureTest, VerticalTextTurnsLatinAQuarterTurn) {
    const TextOutline o = captured("中l", true);
    ASSERT_EQ(o.pieces.size(), 2u);
    const QRect upright = boundsOf(o.pieces[0]);
    const QRect turned = boundsOf(o.pieces[1]);
    EXPECT_GT(turned.width(), 3 * turned.height()) << "the tall l lies down";
    EXPECT_GT(upright.height(), 300);
    // The second character comes below the first in the same column.
    EXPECT_GT(o.pieces[1].top, o.pieces[0].top);
    EXPECT_NEAR(o.pieces[1].left, o.pieces[0].left, 600);
}

TEST(OutlineCaptureTest, CapturedGlyphsCoverTheDrawnOnes) {
    // Punctuation in its half or quarter cell, turned glyphs: the outlines stand where
    // the text is drawn.
    for (bool vertical : {false, true}) {
        RichText t = makeText("中，（a）。W!", vertical ? 2000 : 20000, vertical ? 20000 : 2000,
                              RichText::Left, 30);
        t.setVertical(vertical);
        t.layout();
        QImage drawn(vertical ? 140 : 560, vertical ? 560 : 140, QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QImage outlined = drawn;
        {
            QPainter p(&drawn);
            t.draw(p, TextDevice{1.0, 10, 10, 96, 96}, false);
        }
        TextOutline o;
        OutlineCapture::captureOutlines(t, o);
        {
            QPainter p(&outlined);
            o.draw(p, 96, 1.0, 1.0, QPoint(10, 10), outlined.rect(), 0.0, 1);
        }
        int ink = 0, covered = 0;
        for (int y = 1; y + 1 < drawn.height(); ++y) {
            for (int x = 1; x + 1 < drawn.width(); ++x) {
                if (qGray(drawn.pixel(x, y)) > 100) continue;
                ++ink;
                bool near = false;
                for (int d = 0; d < 9 && !near; ++d)
                    near = qGray(outlined.pixel(x + d % 3 - 1, y + d / 3 - 1)) < 128;
                covered += near;
            }
        }
        ASSERT_GT(ink, 500) << vertical;
        EXPECT_GT(covered, ink * 95 / 100) << "vertical " << vertical;
    }
}

TEST(OutlineCaptureTest, CapturedTextDrawsFilled) {
    // A solid square: its outline drawn at one twip per unit / 15 is filled inside.
    const TextOutline o = captured("■", false);
    ASSERT_EQ(o.pieces.size(), 1u);
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    o.draw(p, 96, 1.0, 1.0, QPoint(0, 0), QRect(0, 0, 200, 200), 0.0, 1);
    const QRect ink = boundsOf(o.pieces[0]).translated(o.pieces[0].left, o.pieces[0].top);
    const QPoint centre(ink.center().x() * 96 / 1440, ink.center().y() * 96 / 1440);
    EXPECT_EQ(image.pixel(centre), qRgb(0, 0, 0));
}

}  // namespace
