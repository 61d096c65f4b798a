#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "core/blocks/BlockKind.h"
#include "core/graphics/ShapeGeometry.h"

using namespace pemo;
namespace SG = ShapeGeometry;

namespace {

QList<QPoint> vertices(const QPolygon& f) { return QList<QPoint>(f.begin(), f.end()); }

QPoint transposed(QPoint p) { return QPoint(p.y(), p.x()); }

QImage white(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool ink(const QImage& image, int x, int y) { return image.pixel(x, y) != qRgb(255, 255, 255); }

}  // namespace

TEST(ShapeGeometry, ArrowExamples) {
    struct Case {
        int32_t kind;
        std::vector<QPoint> points;
        QList<QPoint> expected;
    };
    const std::vector<Case> cases = {
        {BlockKind::FirstArrow,
         {{0, 0}, {400, 200}},
         {{400, 100}, {300, 0}, {300, 50}, {0, 50}, {0, 150}, {300, 150}, {300, 200}}},
        // Dragged backwards it points left.
        {BlockKind::FirstArrow,
         {{400, 200}, {0, 0}},
         {{0, 100}, {100, 0}, {100, 50}, {400, 50}, {400, 150}, {100, 150}, {100, 200}}},
        // Adjust point left of the box: the head spans the whole width.
        {BlockKind::FirstArrow,
         {{0, 0}, {400, 200}, {-50, 20}},
         {{400, 100}, {0, 0}, {0, 20}, {0, 20}, {0, 180}, {0, 180}, {0, 200}}},
        // Above the box: the shaft is as thick as the box; below the middle: no shaft.
        {BlockKind::FirstArrow,
         {{0, 0}, {400, 200}, {300, -10}},
         {{400, 100}, {300, 0}, {300, 0}, {0, 0}, {0, 200}, {300, 200}, {300, 200}}},
        {BlockKind::FirstArrow,
         {{0, 0}, {400, 201}, {300, 190}},
         {{400, 100}, {300, 0}, {300, 100}, {0, 100}, {0, 101}, {300, 101}, {300, 201}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const auto figures = SG::arrowFigures(c.kind, c.points);
        ASSERT_EQ(figures.size(), 1u);
        EXPECT_EQ(vertices(figures[0]), c.expected);
    }
    // The callout arrow ignores a third point.
    const auto callout = SG::arrowFigures(0x0100001B, {{0, 0}, {400, 200}, {10, 10}});
    ASSERT_EQ(callout.size(), 1u);
    EXPECT_EQ(vertices(callout[0]),
              (QList<QPoint>{{400, 100}, {334, 60}, {334, 80}, {267, 80}, {267, 0}, {0, 0},
                             {0, 200}, {267, 200}, {267, 120}, {334, 120}, {334, 140}}));
}

TEST(ShapeGeometry, StripedArrowKeepsItsStripesAndHeadApart) {
    const auto figures = SG::arrowFigures(0x01000015, {{0, 0}, {400, 200}});
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_EQ(figures[0][3], QPoint(65, 50));  // the shaft starts at 5 units
    EXPECT_EQ(vertices(figures[1]), (QList<QPoint>{{0, 50}, {0, 150}, {13, 150}, {13, 50}}));
    EXPECT_EQ(vertices(figures[2]), (QList<QPoint>{{26, 50}, {26, 150}, {52, 150}, {52, 50}}));
    // An adjust point inside the stripes or past the tip is held back.
    EXPECT_EQ(SG::arrowFigures(0x01000015, {{0, 0}, {400, 200}, {10, 50}})[0][1], QPoint(65, 0));
    EXPECT_EQ(SG::arrowFigures(0x01000015, {{0, 0}, {400, 200}, {900, 50}})[0][1], QPoint(400, 0));
    EXPECT_EQ(SG::arrowFigures(0x01000015, {{400, 0}, {0, 200}, {390, 50}})[0][1], QPoint(335, 0));
}

TEST(ShapeGeometry, VerticalArrowsAreTransposedHorizontalOnes) {
    const std::vector<QPoint> points = {{30, 10}, {150, 410}, {70, 300}};
    std::vector<QPoint> swapped;
    for (QPoint p : points) swapped.push_back(transposed(p));
    for (int32_t horizontal = 0x01000011; horizontal <= 0x0100001B; horizontal += 2) {
        SCOPED_TRACE(horizontal);
        const auto h = SG::arrowFigures(horizontal, swapped);
        const auto v = SG::arrowFigures(horizontal + 1, points);
        ASSERT_EQ(h.size(), v.size());
        for (size_t f = 0; f < h.size(); ++f) {
            ASSERT_EQ(h[f].size(), v[f].size());
            for (int i = 0; i < h[f].size(); ++i) EXPECT_EQ(transposed(h[f][i]), v[f][i]);
        }
    }
}

TEST(ShapeGeometry, NotchedArrowAndChevron) {
    // Notch with the slope of the head: half 100, shaft inset 50, head 100 long.
    const auto notched = SG::arrowFigures(0x01000017, {{0, 0}, {400, 200}});
    EXPECT_EQ(notched[0][4], QPoint(50, 100));
    // A flat box has no notch (and no division by zero).
    EXPECT_EQ(SG::arrowFigures(0x01000017, {{0, 7}, {400, 7}})[0][4], QPoint(0, 7));
    EXPECT_EQ(vertices(SG::arrowFigures(0x01000019, {{0, 0}, {400, 200}})[0]),
              (QList<QPoint>{{400, 100}, {300, 0}, {0, 0}, {100, 100}, {0, 200}, {300, 200}}));
    EXPECT_TRUE(SG::arrowFigures(0x01000011, {{0, 0}}).empty());
}

TEST(ShapeGeometry, BezierChainPassesThroughEveryOtherPoint) {
    const std::vector<QPoint> four = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    const QPainterPath open = SG::bezierChain(four, false);
    // move, one cubic (3 elements), one line.
    ASSERT_EQ(open.elementCount(), 5);
    EXPECT_EQ(QPointF(open.elementAt(1)), QPointF(50, 0));
    EXPECT_EQ(QPointF(open.elementAt(2)), QPointF(100, 50));
    EXPECT_EQ(QPointF(open.elementAt(3)), QPointF(100, 100));
    EXPECT_TRUE(open.elementAt(4).isLineTo());
    EXPECT_EQ(QPointF(open.elementAt(4)), QPointF(0, 100));
    const QPainterPath closed = SG::bezierChain(four, true);
    // move, two cubics ending at P0.
    ASSERT_GE(closed.elementCount(), 7);
    EXPECT_EQ(QPointF(closed.elementAt(6)), QPointF(0, 0));
    EXPECT_EQ(QPointF(closed.elementAt(4)), QPointF(50, 100));  // midpoint of P2 and P3
}

TEST(ShapeGeometry, StarsFillTheDraggedRectangleAndMirror) {
    for (int32_t star = 0x01000021; star <= 0x01000024; ++star) {
        SCOPED_TRACE(star);
        const auto right = SG::starPoints(star, {100, 50}, {500, 350});
        const auto left = SG::starPoints(star, {500, 50}, {100, 350});
        const auto up = SG::starPoints(star, {100, 350}, {500, 50});
        ASSERT_EQ(right.size(), left.size());
        QRect box;
        for (size_t i = 0; i < right.size(); ++i) {
            box |= QRect(right[i], QSize(1, 1));
            // Mirrored up to the truncation of each placed coordinate.
            EXPECT_LE(std::abs(left[i].x() - (600 - right[i].x())), 1);
            EXPECT_EQ(left[i].y(), right[i].y());
            EXPECT_LE(std::abs(up[i].y() - (400 - right[i].y())), 1);
            EXPECT_EQ(up[i].x(), right[i].x());
        }
        // The template boxes are a vertex's width wider than some stars.
        const QRect dragged(QPoint(100, 50), QPoint(500, 350));
        EXPECT_TRUE(dragged.contains(box));
        EXPECT_LE(box.left() - dragged.left() + dragged.right() - box.right(), 2);
        EXPECT_LE(box.top() - dragged.top() + dragged.bottom() - box.bottom(), 2);
    }
    EXPECT_EQ(SG::starPoints(0x01000021, {0, 0}, {10, 10}).size(), 24u);
    EXPECT_TRUE(SG::starPoints(0x01000007, {0, 0}, {10, 10}).empty());
}

TEST(ShapeGeometry, SnapAndSquare) {
    EXPECT_EQ(SG::snapTo15Degrees({0, 0}, {100, 3}, 100), QPoint(100, 0));
    EXPECT_EQ(SG::snapTo15Degrees({0, 0}, {100, -20}, 100), QPoint(96, -25));  // −15°
    // The rounded constants land just short of a whole length, which truncates.
    EXPECT_EQ(SG::snapTo15Degrees({0, 0}, {2, 90}, 50), QPoint(0, 49));
    EXPECT_EQ(SG::snapTo15Degrees({0, 0}, {-100, 1}, 10), QPoint(-9, 0));
    EXPECT_EQ(SG::squareCorner({10, 10}, {110, 40}), QPoint(40, 40));
    EXPECT_EQ(SG::squareCorner({10, 10}, {-90, 60}), QPoint(-40, 60));
    EXPECT_EQ(SG::roundCorner(400, 200), 33);
}

// Box primitives leave out the right and bottom edge; one-pixel lines their last pixel.
TEST(ShapeGeometry, BoxesAndLinesLeaveOutTheFarEdge) {
    const QPen pen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap);
    for (int32_t kind : {BlockKind::Rectangle, BlockKind::Ellipse, BlockKind::RoundRect}) {
        SCOPED_TRACE(kind);
        QImage image = white(40, 40);
        {
            QPainter p(&image);
            SG::drawBody(p, kind, {{30, 25}, {10, 5}}, pen, QBrush(Qt::red));
        }
        QRect inked;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (ink(image, x, y)) inked |= QRect(x, y, 1, 1);
        EXPECT_EQ(inked, QRect(QPoint(10, 5), QPoint(29, 24)));
        EXPECT_EQ(image.pixel(20, 15), qRgb(255, 0, 0));
    }
    QImage image = white(20, 5);
    {
        QPainter p(&image);
        SG::drawBody(p, BlockKind::Line, {{2, 2}, {12, 2}}, pen, Qt::NoBrush);
    }
    EXPECT_TRUE(ink(image, 2, 2));
    EXPECT_TRUE(ink(image, 11, 2));
    EXPECT_FALSE(ink(image, 12, 2));
}

TEST(ShapeGeometry, ShortPointListsDrawWithoutReadingPastThem) {
    const QPen pen(Qt::black);
    QImage image = white(20, 20);
    QPainter p(&image);
    for (int32_t kind : {BlockKind::Line, BlockKind::Curve, BlockKind::Ellipse,
                         BlockKind::Rectangle, BlockKind::Polygon, BlockKind::ClosedCurve,
                         BlockKind::FirstArrow, BlockKind::LastArrow}) {
        SG::drawBody(p, kind, {}, pen, QBrush(Qt::red));
        SG::drawBody(p, kind, {{3, 3}}, pen, QBrush(Qt::red));
    }
    // A polygon of two points is an open line, never filled.
    SG::drawBody(p, BlockKind::Polygon, {{1, 10}, {15, 10}}, pen, QBrush(Qt::red));
    p.end();
    EXPECT_EQ(image.pixel(5, 10), qRgb(0, 0, 0));
}
