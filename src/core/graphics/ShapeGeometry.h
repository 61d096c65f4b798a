#pragma once

#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <cstdint>
#include <vector>

class QPainter;

namespace pemo {

// The outline every graphic kind draws from its points, in device pixels. Integer
// arithmetic throughout, each division truncating toward zero. Box kinds keep the
// platform habit of leaving out the right and bottom edge: a box from (L, T) to (R, B)
// paints the columns L … R − 1 and the rows T … B − 1.
namespace ShapeGeometry {

// The closed figures of an arrow kind (0x01000011 … 0x0100001C) from its start P0, its
// end P1 (the tip's side) and, when given, the adjust point P2. Vertical kinds are the
// horizontal design with x and y exchanged. Empty with fewer than two points.
std::vector<QPolygon> arrowFigures(int32_t kind, const std::vector<QPoint>& points);

// The cubic Bézier chain through P0, P2, P4 … pulled toward P1, P3 …, with a straight
// segment to a point left over. Closed: P0 is appended once more and the figure closed.
QPainterPath bezierChain(const std::vector<QPoint>& points, bool closed);

// A star tool's template (kinds 0x01000021 … 0x01000024) placed into the rectangle
// dragged from start to end, mirrored when dragged leftwards or upwards. Empty for
// another kind.
std::vector<QPoint> starPoints(int32_t starKind, QPoint start, QPoint end);

// Shift-dragging a line's end: the direction from the fixed end is rounded to a
// multiple of 15 degrees and the end put at the given length along it.
QPoint snapTo15Degrees(QPoint fixed, QPoint moved, double length);

// Shift-dragging a box corner: the box becomes a square whose side is the smaller of
// its two sides, on the side the corner was dragged to.
QPoint squareCorner(QPoint fixed, QPoint moved);

// The corner ellipse's width and height of a rounded rectangle of this box.
int roundCorner(int width, int height);

// The kind's outline as one path: open for the open kinds, closed figures otherwise.
QPainterPath buildOutline(int32_t kind, const std::vector<QPoint>& points);

// Paints the kind with the pen and, for the closed kinds, the brush: box kinds by the
// box primitives, polygons, closed curves and arrows as a filled region whose outline is
// then traced with the pen, open kinds stroked. A polygon with fewer than three points
// is an open line. Points the kind needs but lacks draw nothing.
void drawBody(QPainter& painter, int32_t kind, const std::vector<QPoint>& points, const QPen& pen,
              const QBrush& brush);

}  // namespace ShapeGeometry

}  // namespace pemo
