#include "ShapeGeometry.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pemo::ShapeGeometry {

namespace {

// The graphic kinds this file draws (the block kinds of the shapes).
constexpr int32_t kLine = 0x01000001;
constexpr int32_t kPolyline = 0x01000002;
constexpr int32_t kCurve = 0x01000003;
constexpr int32_t kEllipse = 0x01000004;
constexpr int32_t kRoundRect = 0x01000005;
constexpr int32_t kTriangle = 0x01000006;
constexpr int32_t kPolygon = 0x01000007;
constexpr int32_t kClosedCurve = 0x01000008;
constexpr int32_t kRectangle = 0x01000009;
constexpr int32_t kFirstArrow = 0x01000011;
constexpr int32_t kLastArrow = 0x0100001C;
constexpr int32_t kFirstStar = 0x01000021;
constexpr int32_t kLastStar = 0x01000024;

enum ArrowDesign { BlockArrow, DoubleArrow, StripedArrow, NotchedArrow, Chevron, Callout };

int clampTo(int v, int lo, int hi) { return std::min(hi, std::max(v, lo)); }

QPoint transposed(QPoint p) { return QPoint(p.y(), p.x()); }

// The horizontal design of an arrow. has2 tells whether P2 is an adjust point.
std::vector<QPolygon> horizontalArrow(ArrowDesign design, QPoint p0, QPoint p1, QPoint p2,
                                      bool has2) {
    const int x0 = p0.x(), x1 = p1.x(), x2 = p2.x(), y2 = p2.y();
    const int L = std::min(x0, x1), R = std::max(x0, x1);
    const int T = std::min(p0.y(), p1.y()), B = std::max(p0.y(), p1.y());
    const int xM = (L + R) / 2, yM = (T + B) / 2;
    const int s = has2 ? clampTo(y2, T, yM) - T : (B - T) / 4;
    const int blockHead = has2 ? clampTo(x2, L, R) : x1 - (x1 - x0) / 4;
    QPolygon f;
    switch (design) {
        case BlockArrow:
            f << QPoint(x1, yM) << QPoint(blockHead, T) << QPoint(blockHead, T + s)
              << QPoint(x0, T + s) << QPoint(x0, B - s) << QPoint(blockHead, B - s)
              << QPoint(blockHead, B);
            return {f};
        case DoubleArrow: {
            const int h = has2 ? clampTo(x2, L, xM) - L : (R - L) / 4;
            f << QPoint(L, yM) << QPoint(L + h, B) << QPoint(L + h, B - s) << QPoint(R - h, B - s)
              << QPoint(R - h, B) << QPoint(R, yM) << QPoint(R - h, T) << QPoint(R - h, T + s)
              << QPoint(L + h, T + s) << QPoint(L + h, T);
            return {f};
        }
        case StripedArrow: {
            const int u = (x1 - x0) / 30;
            const int tail = 5 * std::abs(u);
            int hx = x1 - (x1 - x0) / 4;
            if (has2) {
                hx = x0 < x1 ? std::min(x1, std::max(x2, x0 + tail))
                             : std::max(x1, std::min(x2, x0 - tail));
            }
            f << QPoint(x1, yM) << QPoint(hx, T) << QPoint(hx, T + s) << QPoint(x0 + 5 * u, T + s)
              << QPoint(x0 + 5 * u, B - s) << QPoint(hx, B - s) << QPoint(hx, B);
            QPolygon stripe1, stripe2;
            stripe1 << QPoint(x0, T + s) << QPoint(x0, B - s) << QPoint(x0 + u, B - s)
                    << QPoint(x0 + u, T + s);
            stripe2 << QPoint(x0 + 2 * u, T + s) << QPoint(x0 + 2 * u, B - s)
                    << QPoint(x0 + 4 * u, B - s) << QPoint(x0 + 4 * u, T + s);
            return {f, stripe1, stripe2};
        }
        case NotchedArrow: {
            const int hl = x1 - blockHead;
            const int half = (B - T) / 2;
            const int n = half == 0 ? 0 : int(int64_t(half - s) * hl / half);
            f << QPoint(x1, yM) << QPoint(blockHead, T) << QPoint(blockHead, T + s)
              << QPoint(x0, T + s) << QPoint(x0 + n, yM) << QPoint(x0, B - s)
              << QPoint(blockHead, B - s) << QPoint(blockHead, B);
            return {f};
        }
        case Chevron: {
            const int hl = has2 ? x1 - clampTo(x2, L, R) : (x1 - x0) / 4;
            f << QPoint(x1, yM) << QPoint(x1 - hl, T) << QPoint(x0, T) << QPoint(x0 + hl, yM)
              << QPoint(x0, B) << QPoint(x1 - hl, B);
            return {f};
        }
        case Callout: {
            const int w3 = (x1 - x0) / 3, w6 = (x1 - x0) / 6;
            const int h5 = (B - T) / 5, h10 = (B - T) / 10;
            f << QPoint(x1, yM) << QPoint(x1 - w6, yM - h5) << QPoint(x1 - w6, yM - h10)
              << QPoint(x1 - w3, yM - h10) << QPoint(x1 - w3, T) << QPoint(x0, T) << QPoint(x0, B)
              << QPoint(x1 - w3, B) << QPoint(x1 - w3, yM + h10) << QPoint(x1 - w6, yM + h10)
              << QPoint(x1 - w6, yM + h5);
            return {f};
        }
    }
    return {};
}

struct StarTemplate {
    int ax, bx, ay, by;
    std::vector<QPoint> vertices;
};

const StarTemplate& starTemplate(int index) {
    static const StarTemplate stars[4] = {
        {7, 925, 13, 440,
         {{23, 59},   {317, 138}, {362, 58},  {466, 128}, {624, 13},  {608, 118},
          {788, 101}, {716, 158}, {903, 174}, {756, 217}, {925, 276}, {722, 269},
          {778, 370}, {602, 298}, {569, 403}, {454, 308}, {366, 440}, {334, 322},
          {208, 361}, {248, 288}, {13, 301},  {165, 246}, {7, 183},   {204, 163}}},
        {5, 910, 7, 460,
         {{194, 7},   {364, 147}, {411, 54},  {486, 104}, {625, 14},  {614, 133}, {760, 79},
          {690, 149}, {910, 152}, {717, 209}, {771, 247}, {691, 268}, {796, 336}, {618, 309},
          {631, 372}, {515, 342}, {492, 402}, {419, 372}, {370, 421}, {321, 388}, {210, 460},
          {207, 390}, {59, 381},  {145, 332}, {5, 280},   {169, 255}, {54, 186},  {231, 176}}},
        {4, 933, 44, 448,
         {{4, 99},    {414, 143}, {544, 44},  {590, 160}, {844, 101}, {716, 222}, {933, 318},
          {670, 315}, {617, 448}, {468, 369}, {246, 440}, {304, 306}, {73, 302},  {240, 205}}},
        {0, 670, 0, 664,
         {{350, 0},   {458, 220}, {670, 254}, {524, 423}, {566, 664},
          {350, 550}, {135, 663}, {177, 424}, {2, 254},   {243, 219}}},
    };
    return stars[index];
}

// One coordinate of a template vertex placed into the span from s to e.
int placeOnSpan(int t, int a, int b, int s, int e) {
    const int64_t span = std::abs(int64_t(e) - s);
    const int64_t along = s < e ? t - a : b - t;
    return int(std::min(s, e) + span * along / (b - a));
}

bool isArrow(int32_t kind) { return kind >= kFirstArrow && kind <= kLastArrow; }

void addPolygon(QPainterPath& path, const QPolygon& figure) {
    if (figure.isEmpty()) return;
    path.moveTo(figure.first());
    for (int i = 1; i < figure.size(); ++i) path.lineTo(figure[i]);
    path.closeSubpath();
}

QPoint midpoint(QPoint a, QPoint b) { return QPoint((a.x() + b.x()) / 2, (a.y() + b.y()) / 2); }

// The box of two corners: (L, T) to (R, B) as Qt's rectangle without the far edges.
QRect boxOf(const std::vector<QPoint>& points) {
    const int L = std::min(points[0].x(), points[1].x());
    const int R = std::max(points[0].x(), points[1].x());
    const int T = std::min(points[0].y(), points[1].y());
    const int B = std::max(points[0].y(), points[1].y());
    return QRect(L, T, R - L, B - T);
}

// A box primitive's outline rectangle: with a pen, Qt strokes the rectangle's own right
// and bottom lines, so the box shrinks by one pixel to stay inside (L … R − 1).
QRect strokedBox(QRect box) { return QRect(box.x(), box.y(), box.width() - 1, box.height() - 1); }

}  // namespace

std::vector<QPolygon> arrowFigures(int32_t kind, const std::vector<QPoint>& points) {
    if (!isArrow(kind) || points.size() < 2) return {};
    const int offset = kind - kFirstArrow;
    const auto design = ArrowDesign(offset / 2);
    const bool vertical = offset % 2 == 1;
    // The callout arrow has no adjust point: a third point is ignored.
    const bool has2 = points.size() >= 3 && design != Callout;
    QPoint p0 = points[0], p1 = points[1], p2 = has2 ? points[2] : QPoint();
    if (vertical) {
        p0 = transposed(p0);
        p1 = transposed(p1);
        p2 = transposed(p2);
    }
    std::vector<QPolygon> figures = horizontalArrow(design, p0, p1, p2, has2);
    if (vertical) {
        for (QPolygon& f : figures) {
            for (QPoint& v : f) v = transposed(v);
        }
    }
    return figures;
}

QPainterPath bezierChain(const std::vector<QPoint>& input, bool closed) {
    QPainterPath path;
    if (input.empty()) return path;
    std::vector<QPoint> points = input;
    if (closed) points.push_back(input.front());
    QPoint end = points[0];
    path.moveTo(end);
    size_t i = 1;
    for (; i + 1 < points.size(); i += 2) {
        const QPoint a = points[i], b = points[i + 1];
        path.cubicTo(midpoint(end, a), midpoint(a, b), b);
        end = b;
    }
    if (i < points.size()) path.lineTo(points[i]);
    if (closed) path.closeSubpath();
    return path;
}

std::vector<QPoint> starPoints(int32_t starKind, QPoint start, QPoint end) {
    if (starKind < kFirstStar || starKind > kLastStar) return {};
    const StarTemplate& t = starTemplate(starKind - kFirstStar);
    std::vector<QPoint> out;
    out.reserve(t.vertices.size());
    for (QPoint v : t.vertices) {
        out.emplace_back(placeOnSpan(v.x(), t.ax, t.bx, start.x(), end.x()),
                         placeOnSpan(v.y(), t.ay, t.by, start.y(), end.y()));
    }
    return out;
}

QPoint snapTo15Degrees(QPoint fixed, QPoint moved, double length) {
    double angle = std::atan2(double(moved.y() - fixed.y()), double(moved.x() - fixed.x()));
    // Measured from 0 to 2π, so the rounding below is the same on both sides of 0°.
    if (angle < 0) angle += 6.2831852;
    const int degrees = int(angle * 57.29578049 + 7.5) / 15 * 15;
    const double snapped = degrees * 0.0174532922;
    return fixed + QPoint(int(length * std::cos(snapped)), int(length * std::sin(snapped)));
}

QPoint squareCorner(QPoint fixed, QPoint moved) {
    const int dx = moved.x() - fixed.x();
    const int dy = moved.y() - fixed.y();
    const int side = std::min(std::abs(dx), std::abs(dy));
    return fixed + QPoint(dx < 0 ? -side : side, dy < 0 ? -side : side);
}

int roundCorner(int width, int height) { return std::min(width, height) / 6; }

QPainterPath buildOutline(int32_t kind, const std::vector<QPoint>& points) {
    QPainterPath path;
    if (points.empty()) return path;
    switch (kind) {
        case kCurve: return bezierChain(points, false);
        case kClosedCurve: return bezierChain(points, true);
        case kEllipse:
        case kRectangle:
        case kRoundRect: {
            if (points.size() < 2) return path;
            const QRect box = boxOf(points);
            if (kind == kEllipse) {
                path.addEllipse(box);
            } else if (kind == kRectangle) {
                path.addRect(box);
            } else {
                const int c = roundCorner(box.width(), box.height());
                path.addRoundedRect(box, c / 2.0, c / 2.0);
            }
            return path;
        }
        case kTriangle:
        case kPolygon:
            addPolygon(path, QPolygon(QList<QPoint>(points.begin(), points.end())));
            return path;
        case kLine:
        case kPolyline:
        default:
            if (isArrow(kind)) {
                for (const QPolygon& f : arrowFigures(kind, points)) addPolygon(path, f);
                return path;
            }
            path.moveTo(points[0]);
            for (size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
            return path;
    }
}

void drawBody(QPainter& painter, int32_t kind, const std::vector<QPoint>& points, const QPen& pen,
              const QBrush& brush) {
    if (points.empty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(pen);
    painter.setBrush(brush);
    switch (kind) {
        case kEllipse:
        case kRectangle:
        case kRoundRect: {
            if (points.size() < 2) break;
            const QRect box = boxOf(points);
            const QRect stroked = pen.style() == Qt::NoPen ? box : strokedBox(box);
            if (kind == kEllipse) {
                painter.drawEllipse(stroked);
            } else if (kind == kRectangle) {
                painter.drawRect(stroked);
            } else {
                const int c = roundCorner(box.width(), box.height());
                painter.drawRoundedRect(stroked, c / 2.0, c / 2.0);
            }
            break;
        }
        case kTriangle:
        case kPolygon:
            if (points.size() < 3) {
                painter.drawPolyline(points.data(), int(points.size()));
                break;
            }
            [[fallthrough]];
        case kClosedCurve:
        default:
            if (kind == kClosedCurve || kind == kTriangle || kind == kPolygon || isArrow(kind)) {
                // The region first, then the outline traced over it with the pen.
                QPainterPath outline = buildOutline(kind, points);
                outline.setFillRule(Qt::OddEvenFill);
                painter.fillPath(outline, brush);
                painter.setBrush(Qt::NoBrush);
                painter.drawPath(outline);
            } else {
                painter.setBrush(Qt::NoBrush);
                painter.drawPath(buildOutline(kind, points));
            }
            break;
    }
    painter.restore();
}

}  // namespace pemo::ShapeGeometry
