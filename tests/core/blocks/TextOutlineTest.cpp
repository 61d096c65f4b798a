#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <QPainter>
#include <cmath>

#include "Bytes.h"
#include "core/codecs/Archive.h"
#include "core/graphics/TextOutline.h"

using namespace pemo;
using test::Bytes;

namespace {

OutlinePiece piece(QRect cell, std::vector<uint8_t> types, std::vector<QPoint> points) {
    OutlinePiece p;
    p.left = cell.x();
    p.top = cell.y();
    p.width = cell.width();
    p.height = cell.height();
    p.types = std::move(types);
    p.points = std::move(points);
    return p;
}

TextOutline sample() {
    TextOutline o;
    o.pieces = {piece({10, -20, 300, 400}, {6, 2, 3}, {{0, 0}, {300, 0}, {300, 400}}),
                piece({400, 0, 200, 200}, {6, 4, 4, 5}, {{0, 100}, {50, -20}, {150, -20}, {200, 100}})};
    o.textColour = 0x0000FF;
    o.effect = TextOutline::PatternFill;
    o.reserved = -1;
    o.size = 3;
    o.effectColour = 0x00FF00;
    o.pattern = 19;
    o.pictureKey = "IMG1";
    o.localPictureKey = "L7";
    return o;
}

Bytes sampleSnapshotBytes() {
    Bytes b;
    b.i32(2);
    b.i32(10).i32(-20).i32(300).i32(400).i32(3);
    b.u8(6).i32(0).i32(0).u8(2).i32(300).i32(0).u8(3).i32(300).i32(400);
    b.zeros(16);
    b.i32(400).i32(0).i32(200).i32(200).i32(4);
    b.u8(6).i32(0).i32(100).u8(4).i32(50).i32(-20).u8(4).i32(150).i32(-20).u8(5).i32(200).i32(100);
    b.zeros(16);
    b.i32(0x0000FF).i32(40).i32(-1).i32(3).i32(0x00FF00).i32(19);
    b.u8(4).raw("IMG1");
    return b;
}

template <typename Store>
QByteArray written(const TextOutline& o, Store store) {
    ArchiveWriter out;
    (o.*store)(out);
    return out.take();
}

}  // namespace

TEST(TextOutlineForms, EveryFormMatchesHandBuiltBytesAndReadsBack) {
    const TextOutline o = sample();
    const QByteArray snapshot = sampleSnapshotBytes();
    const QByteArray document = Bytes().raw(snapshot).zeros(16);
    const QByteArray templ = Bytes().raw(snapshot).u8(2).raw("L7").zeros(16);
    const struct {
        const char* name;
        void (TextOutline::*store)(ArchiveWriter&) const;
        void (TextOutline::*load)(ArchiveReader&);
        QByteArray bytes;
        bool keepsLocalKey;
    } cases[] = {
        {"snapshot", &TextOutline::storeSnapshot, &TextOutline::loadSnapshot, snapshot, false},
        {"document", &TextOutline::store, &TextOutline::load, document, false},
        {"template", &TextOutline::storeTemplate, &TextOutline::loadTemplate, templ, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(written(o, c.store).toHex(), c.bytes.toHex());

        TextOutline back;
        back.pieces = {piece({1, 1, 1, 1}, {6}, {{1, 1}})};  // replaced, not added to
        ArchiveReader in(c.bytes);
        (back.*c.load)(in);
        EXPECT_TRUE(in.atEnd());
        EXPECT_EQ(back.pieces, o.pieces);
        EXPECT_EQ(back.textColour, o.textColour);
        EXPECT_EQ(back.effect, o.effect);
        EXPECT_EQ(back.reserved, o.reserved);
        EXPECT_EQ(back.size, o.size);
        EXPECT_EQ(back.effectColour, o.effectColour);
        EXPECT_EQ(back.pattern, o.pattern);
        EXPECT_EQ(back.pictureKey, o.pictureKey);
        EXPECT_EQ(back.localPictureKey, c.keepsLocalKey ? o.localPictureKey : QByteArray());
        EXPECT_EQ(written(back, c.store), c.bytes);
    }
}

TEST(TextOutlineForms, DamagedCountsAreRefused) {
    const QByteArray whole = sampleSnapshotBytes();
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"piece count beyond the stream", Bytes().i32(0x10000000).raw(whole.mid(4))},
        {"negative piece count", Bytes().i32(-1).raw(whole.mid(4))},
        {"point count beyond the stream",
         Bytes().i32(1).i32(0).i32(0).i32(1).i32(1).i32(0x7FFFFFFF)},
        {"cut in the middle", whole.left(whole.size() - 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextOutline o;
        ArchiveReader in(c.bytes);
        EXPECT_THROW(o.loadSnapshot(in), FormatError);
    }
}

// At 1440 pixels per inch and scale 1 a twip is a pixel, so the path's corners can be
// read off the piece directly.
TEST(TextOutlinePath, PiecesArePlacedScaledAndTurnedAboutTheAnchor) {
    TextOutline o;
    o.pieces = {piece({10, 20, 300, 400}, {6, 2, 2, 3}, {{0, 0}, {300, 0}, {300, 400}, {0, 400}})};
    const QPoint anchor(1000, 2000);
    const struct {
        const char* name;
        int ppi;
        double scaleX, scaleY, angle;
        QRectF bounds;
    } cases[] = {
        {"plain", 1440, 1, 1, 0, QRectF(1010, 2020, 300, 400)},
        {"scaled per axis", 1440, 2, 0.5, 0, QRectF(1020, 2010, 600, 200)},
        // Counterclockwise on the screen: x along the piece goes up, y goes right.
        {"quarter turn", 1440, 1, 1, M_PI / 2, QRectF(1020, 2000 - 310, 400, 300)},
        {"half turn", 1440, 1, 1, M_PI, QRectF(1000 - 310, 2000 - 420, 300, 400)},
        // 96 pixels per inch: the cell origin 10, 20 truncates to 0, 1; 300 and 400 to 20, 26.
        {"low resolution", 96, 1, 1, 0, QRectF(1000, 2001, 20, 26)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QPainterPath path = o.buildPath(c.ppi, c.scaleX, c.scaleY, anchor, c.angle);
        const QRectF b = path.boundingRect();
        EXPECT_NEAR(b.left(), c.bounds.left(), 1.0);
        EXPECT_NEAR(b.top(), c.bounds.top(), 1.0);
        EXPECT_NEAR(b.right(), c.bounds.right(), 1.0);
        EXPECT_NEAR(b.bottom(), c.bounds.bottom(), 1.0);
    }
}

TEST(TextOutlinePath, PointTypesMakeMovesLinesClosingsAndCurves) {
    TextOutline o;
    o.pieces = {piece({0, 0, 100, 100}, {6, 2, 3, 6, 4, 4, 5},
                      {{0, 0}, {100, 0}, {100, 100}, {0, 50}, {10, 10}, {20, 10}, {30, 50}})};
    const QPainterPath path = o.buildPath(1440, 1, 1, QPoint(0, 0), 0);
    using E = QPainterPath::ElementType;
    std::vector<std::pair<E, QPointF>> elements;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        elements.emplace_back(e.type, QPointF(e.x, e.y));
    }
    // A type-3 point ends its figure with a straight segment back to the figure's start.
    ASSERT_GE(elements.size(), 8u);
    EXPECT_EQ(elements[0], std::make_pair(E::MoveToElement, QPointF(0, 0)));
    EXPECT_EQ(elements[1], std::make_pair(E::LineToElement, QPointF(100, 0)));
    EXPECT_EQ(elements[2], std::make_pair(E::LineToElement, QPointF(100, 100)));
    EXPECT_EQ(elements[3], std::make_pair(E::LineToElement, QPointF(0, 0)));
    // Three Bézier points make one cubic segment.
    const auto move = std::find_if(elements.begin() + 4, elements.end(),
                                   [](const auto& e) { return e.first == E::MoveToElement; });
    ASSERT_NE(move, elements.end());
    EXPECT_EQ(move->second, QPointF(0, 50));
    ASSERT_GE(elements.end() - move, 4);
    EXPECT_EQ(move[1], std::make_pair(E::CurveToElement, QPointF(10, 10)));
    EXPECT_EQ(move[2], std::make_pair(E::CurveToDataElement, QPointF(20, 10)));
    EXPECT_EQ(move[3], std::make_pair(E::CurveToDataElement, QPointF(30, 50)));
}

TEST(TextOutlinePath, DamagedPointTypesEndTheFigure) {
    const struct {
        const char* name;
        std::vector<uint8_t> types;
        std::vector<QPointF> absent;  // points after the damage, up to the next move
    } cases[] = {
        {"points before any figure", {2, 2, 6, 2}, {{100, 0}}},
        {"an unknown type", {6, 2, 7, 2}, {{0, 100}}},
        {"a Bézier cut short", {6, 2, 4, 4}, {{100, 100}, {0, 100}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextOutline o;
        o.pieces = {piece({0, 0, 100, 100}, c.types, {{0, 0}, {100, 0}, {100, 100}, {0, 100}})};
        const QPainterPath path = o.buildPath(1440, 1, 1, QPoint(0, 0), 0);
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            for (const QPointF& absent : c.absent) EXPECT_NE(QPointF(e.x, e.y), absent) << i;
        }
    }
}

// A 40 × 40 pixel square at (30, 30); pen width 3.
TEST(TextOutlineDrawing, EffectsPaintFillPenAndShadowInTheirColours) {
    const QRgb white = qRgb(255, 255, 255);
    const QRgb text = qRgb(0xC0, 0, 0);     // 0x0000C0
    const QRgb effect = qRgb(0, 0xA0, 0);   // 0x00A000
    const QRgb halo = qRgb(0xFE, 0xFE, 0xFE);
    const struct {
        const char* name;
        int32_t effect;
        std::vector<std::pair<QPoint, QRgb>> pixels;
    } cases[] = {
        {"plain", TextOutline::Plain, {{{50, 50}, text}, {{30, 50}, text}, {{75, 75}, white}}},
        {"shadow down-right", TextOutline::ShadowDownRight,
         {{{50, 50}, text}, {{72, 72}, effect}, {{28, 28}, white}}},
        {"shadow up-left", TextOutline::ShadowUpLeft,
         {{{50, 50}, text}, {{28, 28}, effect}, {{72, 72}, white}}},
        {"hollow", TextOutline::Hollow, {{{50, 50}, white}, {{30, 50}, text}}},
        {"bordered", TextOutline::Bordered, {{{50, 50}, text}, {{30, 50}, effect}}},
        {"double-bordered", TextOutline::DoubleBordered,
         {{{50, 50}, text}, {{30, 50}, halo}, {{27, 50}, effect}, {{50, 73}, effect}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextOutline o;
        o.pieces = {piece({100, 100, 400, 400}, {6, 2, 2, 3},
                          {{0, 0}, {400, 0}, {400, 400}, {0, 400}})};
        o.effect = c.effect;
        o.textColour = 0x0000C0;
        o.effectColour = 0x00A000;
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            o.draw(p, 144, 1, 1, QPoint(20, 20), QRect(20, 20, 60, 60), 0, 3);
        }
        for (const auto& [at, colour] : c.pixels) {
            EXPECT_EQ(image.pixel(at) & 0xFFFFFF, colour & 0xFFFFFF) << at.x() << "," << at.y();
        }
    }
}

TEST(TextOutlineDrawing, PatternAndPictureFillsShowOnlyInsideTheOutline) {
    const QRgb white = qRgb(255, 255, 255);
    for (int32_t effect : {TextOutline::PatternFill, TextOutline::PictureFill}) {
        SCOPED_TRACE(effect);
        TextOutline o;
        o.pieces = {piece({100, 100, 400, 400}, {6, 2, 2, 3},
                          {{0, 0}, {400, 0}, {400, 400}, {0, 400}})};
        o.effect = effect;
        o.pattern = 19;  // left half in the text colour, right half in the effect colour
        o.textColour = 0x0000C0;
        o.effectColour = 0x00A000;
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            o.draw(p, 144, 1, 1, QPoint(20, 20), QRect(20, 20, 60, 60), 0, 3);
        }
        EXPECT_EQ(image.pixel(25, 50), white);
        EXPECT_EQ(image.pixel(75, 75), white);
        if (effect == TextOutline::PatternFill) {
            EXPECT_EQ(image.pixel(40, 50), qRgb(0xC0, 0, 0));
            EXPECT_EQ(image.pixel(60, 50), qRgb(0, 0xA0, 0));
        } else {  // no picture key: the built-in texture
            EXPECT_NE(image.pixel(40, 50), white);
            EXPECT_NE(image.pixel(60, 60), white);
        }
    }
}
