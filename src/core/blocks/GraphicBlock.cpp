#include "GraphicBlock.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "BlockKind.h"
#include "Twips.h"
#include "core/codecs/Archive.h"
#include "core/graphics/EffectFill.h"
#include "core/graphics/ShapeGeometry.h"
#include "core/graphics/TextOutline.h"

namespace pemo {

namespace {

constexpr int kPointBytes = 8;
// The fitted frame is never thinner than this (twips).
constexpr int32_t kThinnest = 4;

// Kinds whose grips are their points only.
bool hasPointGripsOnly(int32_t kind) {
    return kind == BlockKind::Line || kind == BlockKind::Ellipse ||
           kind == BlockKind::RoundRect || kind == BlockKind::Rectangle;
}

bool isBoxKind(int32_t kind) {
    return kind == BlockKind::Ellipse || kind == BlockKind::RoundRect ||
           kind == BlockKind::Rectangle;
}

// X = left + x × (right − left) / width, or left + x when width is 0.
int64_t mapAxis(int32_t v, int32_t low, int32_t high, int32_t reference) {
    if (reference == 0) return int64_t(low) + v;
    return low + int64_t(v) * (int64_t(high) - low) / reference;
}

int32_t truncated(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

QImage whiteBitmap(QSize size, int ppi) {
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(ppi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}

Qt::PenStyle qtPenStyle(int32_t style) {
    switch (style) {
        case 1: return Qt::DashLine;
        case 2: return Qt::DotLine;
        case 3: return Qt::DashDotLine;
        case 4: return Qt::DashDotDotLine;
        default: return Qt::SolidLine;
    }
}

// The platform's dash lengths of a one-pixel styled pen.
QList<qreal> dashesOf(int32_t style) {
    switch (style) {
        case 1: return {18, 6};
        case 2: return {3, 3};
        case 3: return {9, 6, 3, 6};
        case 4: return {9, 3, 3, 3, 3, 3};
        default: return {};
    }
}

}  // namespace

GraphicBlock::GraphicBlock() { layer = 6; }

GraphicBlock::~GraphicBlock() = default;

bool GraphicBlock::isClosed() const { return BlockKind::isClosedGraphic(kind); }

// --- stored forms

void GraphicBlock::writeStyle(ArchiveWriter& out) const {
    out.writeInt32(penWidth);
    out.writeInt32(penStyle);
    out.writeInt32(fillType);
    out.writeInt32(penColour);
    out.writeInt32(fillColour);
    out.writeInt16(shadowDirection);
    out.writeInt16(shadowDistance);
    out.writeInt32(shadowColour);
}

void GraphicBlock::readStyle(ArchiveReader& in) {
    penWidth = in.readInt32();
    penStyle = in.readInt32();
    fillType = in.readInt32();
    penColour = in.readInt32();
    fillColour = in.readInt32();
    shadowDirection = in.readInt16();
    shadowDistance = in.readInt16();
    shadowColour = in.readInt32();
}

void GraphicBlock::writePoints(ArchiveWriter& out) const {
    out.writeInt32(int32_t(points.size()));
    for (const QPoint& p : points) {
        out.writeInt32(p.x());
        out.writeInt32(p.y());
    }
}

void GraphicBlock::readPoints(ArchiveReader& in) {
    const int32_t count = in.readInt32();
    points.clear();
    if (count <= 0) return;
    if (qsizetype(count) > in.remaining() / kPointBytes) throw FormatError();
    points.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = in.readInt32();
        const int32_t y = in.readInt32();
        points.emplace_back(x, y);
    }
}

void GraphicBlock::loadSnapshot(ArchiveReader& in) {
    loadSnapshotBase(in);
    readStyle(in);
    readPoints(in);
}

void GraphicBlock::storeSnapshot(ArchiveWriter& out) const {
    storeSnapshotBase(out);
    writeStyle(out);
    writePoints(out);
}

void GraphicBlock::load(ArchiveReader& in) {
    loadBase(in);
    const int16_t defaultDistance = shadowDistance;
    const int32_t defaultColour = shadowColour;
    readStyle(in);
    // A stored distance of 0 keeps both shadow defaults.
    if (shadowDistance == 0) {
        shadowDistance = defaultDistance;
        shadowColour = defaultColour;
    }
    in.skipReserved(kReservedFields);
    readPoints(in);
}

void GraphicBlock::store(ArchiveWriter& out) const {
    storeBase(out);
    writeStyle(out);
    out.writeReserved(kReservedFields);
    writePoints(out);
}

void GraphicBlock::loadClip(ArchiveReader& in, const PictureStore&, PictureStore&,
                            QPoint& origin) {
    origin = loadClipBase(in);
    readStyle(in);
    readPoints(in);
}

void GraphicBlock::storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const {
    // The points are frame-relative: only the base part moves with the origin.
    storeClipBase(out, originX, originY);
    writeStyle(out);
    writePoints(out);
}

// --- geometry

QPoint GraphicBlock::pagePoint(QPoint p) const {
    return QPoint(truncated(mapAxis(p.x(), frame.left, frame.right, sizeWidth)),
                  truncated(mapAxis(p.y(), frame.top, frame.bottom, sizeHeight)));
}

std::vector<QPoint> GraphicBlock::devicePoints(double zoom, int ppi, int offsetX, int offsetY,
                                               bool wire) const {
    std::vector<QPoint> out;
    out.reserve(points.size());
    const auto wireAxis = [](int32_t v, int32_t low, int32_t high, int32_t reference) {
        return reference == 0 ? double(v) + low
                              : (double(high) - low) * v / reference + low;
    };
    for (const QPoint& p : points) {
        if (wire) {
            out.emplace_back(
                int(wireAxis(p.x(), frame.left, frame.right, sizeWidth) * zoom) + offsetX,
                int(wireAxis(p.y(), frame.top, frame.bottom, sizeHeight) * zoom) + offsetY);
        } else {
            const QPoint page = pagePoint(p);
            out.emplace_back(toDevice(page.x(), ppi, zoom) + offsetX,
                             toDevice(page.y(), ppi, zoom) + offsetY);
        }
    }
    return out;
}

void GraphicBlock::rebuildHandles(bool clearFirst) {
    if (clearFirst) clearHandles();
    if (!hasPointGripsOnly(kind)) Block::rebuildHandles(false);
    for (int i = 0; i < pointCount(); ++i) {
        const QPoint p = pagePoint(points[size_t(i)]);
        addHandle(BlockHandle::Point, i, p.x(), p.y());
    }
}

void GraphicBlock::rescalePoints() {
    const int32_t width = frame.width();
    const int32_t height = frame.height();
    for (QPoint& p : points) {
        if (sizeWidth != 0) p.setX(truncated(int64_t(p.x()) * width / sizeWidth));
        if (sizeHeight != 0) p.setY(truncated(int64_t(p.y()) * height / sizeHeight));
    }
    sizeWidth = width;
    sizeHeight = height;
}

void GraphicBlock::movePoint(int index, int32_t x, int32_t y, bool shift,
                             const InkCanvas& canvas) {
    if (index < 0 || index >= pointCount()) return;
    // Points are twips from the frame's corner only while the size is the frame's.
    if (sizeWidth != frame.width() || sizeHeight != frame.height()) rescalePoints();
    QPoint moved(x - frame.left, y - frame.top);
    if (shift && pointCount() >= 2 && index < 2) {
        const QPoint fixed = points[size_t(1 - index)];
        if (kind == BlockKind::Line) {
            const QPoint old = points[size_t(index)] - fixed;
            moved = ShapeGeometry::snapTo15Degrees(fixed, moved, std::hypot(old.x(), old.y()));
        } else if (isBoxKind(kind)) {
            moved = ShapeGeometry::squareCorner(fixed, moved);
        }
    }
    points[size_t(index)] = moved;
    fitFrameToInk(canvas);
}

TwipsRect GraphicBlock::frameFromInk(QRect box, const InkCanvas& c) const {
    TwipsRect f;
    f.left = toTwips(box.left(), c.zoom, c.pixelsPerInch);
    f.top = toTwips(box.top(), c.zoom, c.pixelsPerInch);
    f.right = toTwips(box.right(), c.zoom, c.pixelsPerInch);
    f.bottom = toTwips(box.bottom(), c.zoom, c.pixelsPerInch);
    if (f.right - f.left < kThinnest) f.right = f.left + kThinnest;
    if (f.bottom - f.top < kThinnest) f.bottom = f.top + kThinnest;
    return f;
}

QRect GraphicBlock::inkBox(const InkCanvas& canvas, bool wire, bool stopAtGap) const {
    if (canvas.size.isEmpty() || points.empty()) return QRect();
    const double zoom = wire ? 1.0 : canvas.zoom;
    // As wide as the canvas rounded up to 4 pixels, as high as the canvas; only the part
    // the outline can reach (the box of its points and the pen) is painted and read.
    const QRect whole(0, 0, (canvas.size.width() + 3) / 4 * 4, canvas.size.height());
    const std::vector<QPoint> device = devicePoints(zoom, canvas.pixelsPerInch, 0, 0, wire);
    const auto [minX, maxX] = std::minmax_element(
        device.begin(), device.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
    const auto [minY, maxY] = std::minmax_element(
        device.begin(), device.end(), [](QPoint a, QPoint b) { return a.y() < b.y(); });
    const int margin = devicePen(zoom, canvas.pixelsPerInch, wire).width() + 2;
    const QRect reach = QRect(QPoint(minX->x(), minY->y()), QPoint(maxX->x(), maxY->y()))
                            .adjusted(-margin, -margin, margin, margin)
                            .intersected(whole);
    if (reach.isEmpty()) return QRect();
    QImage image = whiteBitmap(reach.size(), canvas.pixelsPerInch);
    {
        QPainter p(&image);
        GraphicBlock ink;
        ink.kind = kind;
        ink.frame = frame;
        ink.sizeWidth = sizeWidth;
        ink.sizeHeight = sizeHeight;
        ink.points = points;
        ink.penWidth = penWidth;
        ink.penStyle = penStyle;
        ink.fillType = PenColourFill;
        ink.penColour = 0;
        ink.fillColour = 0;
        ink.paint(p, zoom, -reach.left(), -reach.top(), canvas.pixelsPerInch, wire);
    }
    int left = image.width(), right = -1, top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF) {
                if (first < 0) first = x;
                last = x;
            }
        }
        if (first < 0) {
            if (stopAtGap && top >= 0) break;
            continue;
        }
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (top < 0) return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(reach.topLeft());
}

void GraphicBlock::fitFrameToInk(const InkCanvas& canvas) {
    const QRect box = inkBox(canvas, false, true);
    if (box.isEmpty()) return;
    const TwipsRect fitted = frameFromInk(box, canvas);
    for (QPoint& p : points) {
        const QPoint page = pagePoint(p);
        p = QPoint(page.x() - fitted.left, page.y() - fitted.top);
    }
    frame = fitted;
    sizeWidth = frame.width();
    sizeHeight = frame.height();
    if (selected) rebuildHandles(true);
}

void GraphicBlock::fitFrameToInputInk(const InkCanvas& canvas) {
    frame = TwipsRect();
    sizeWidth = 0;
    sizeHeight = 0;
    const QRect box = inkBox(canvas, true, false);
    // Nothing on the canvas (no points): a thin frame at the first point, if any.
    const QRect used = box.isEmpty() && !points.empty() ? QRect(points.front(), QSize(1, 1)) : box;
    if (used.isEmpty()) return;
    const TwipsRect fitted = frameFromInk(used, canvas);
    for (QPoint& p : points) {
        p = QPoint(toTwips(p.x(), canvas.zoom, canvas.pixelsPerInch) - fitted.left,
                   toTwips(p.y(), canvas.zoom, canvas.pixelsPerInch) - fitted.top);
    }
    frame = fitted;
    sizeWidth = frame.width();
    sizeHeight = frame.height();
}

bool GraphicBlock::hitTest(QImage& scratch, double zoom, int x, int y) {
    if (isClosed()) {
        const int ppi = scratch.isNull() ? 96 : scratch.logicalDpiY();
        const int tx = toTwips(x, zoom, ppi);
        const int ty = toTwips(y, zoom, ppi);
        return tx >= frame.left && tx < frame.right && ty >= frame.top && ty < frame.bottom;
    }
    if (scratch.isNull()) return false;
    {
        QPainter p(&scratch);
        draw(p, 0, zoom, 0, 0);
    }
    // The nine pixels around the point, those on the canvas.
    for (int py = std::max(0, y - 1); py <= std::min(scratch.height() - 1, y + 1); ++py) {
        for (int px = std::max(0, x - 1); px <= std::min(scratch.width() - 1, x + 1); ++px) {
            if ((scratch.pixel(px, py) & 0xFFFFFF) != 0xFFFFFF) return true;
        }
    }
    return false;
}

// --- drawing

TwipsRect GraphicBlock::inkBounds() const {
    // A point is 20 twips, a shadow step 60; the slack covers a styled pen's unscaled
    // pixels and the one-pixel minimums at low resolutions.
    constexpr int32_t kSlack = 200;
    const int32_t pen = std::clamp(penWidth, 0, kMaxPenWidth) * 20;
    const int32_t shadow =
        isClosed() ? std::clamp<int32_t>(shadowDistance, 0, kMaxShadowDistance) * 60 : 0;
    const int64_t margin = pen + shadow + kSlack;
    return TwipsRect{truncated(frame.left - margin), truncated(frame.top - margin),
                     truncated(frame.right + margin), truncated(frame.bottom + margin)};
}

QPen GraphicBlock::devicePen(double zoom, int ppi, bool wire) const {
    const int32_t style = penStyle >= 0 && penStyle <= kLastPenStyle ? penStyle : 0;
    const int32_t points = std::clamp(penWidth, 0, kMaxPenWidth);
    int width = 1;
    if (!wire) {
        width = style != 0 ? std::max(1, points)
                           : std::max(1, int(points * ppi * zoom / 72));
    }
    QPen pen(colourOf(penColour));
    pen.setWidth(width);
    if (style != 0) {
        pen.setStyle(qtPenStyle(style));
        if (width == 1) pen.setDashPattern(dashesOf(style));
    }
    // One-pixel lines leave out their last pixel; wide pens are round, as the
    // platform draws them.
    pen.setCapStyle(width == 1 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(width == 1 ? Qt::MiterJoin : Qt::RoundJoin);
    return pen;
}

QBrush GraphicBlock::fillBrush() const {
    static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                             Qt::FDiagPattern, Qt::BDiagPattern,
                                             Qt::CrossPattern, Qt::DiagCrossPattern};
    if (fillType >= HatchHorizontal && fillType <= HatchDiagonalCross) {
        return QBrush(colourOf(fillColour), hatches[fillType]);
    }
    if (fillType == FillColour) return QBrush(colourOf(fillColour));
    if (fillType == PenColourFill) return QBrush(colourOf(penColour));
    // Effect fills are painted by paintEffectBody; this brush stands in where a plain
    // brush is needed.
    if (fillType >= FirstEffect && fillType <= LastEffect) return QBrush(colourOf(fillColour));
    return Qt::NoBrush;
}

void GraphicBlock::paint(QPainter& painter, double zoom, int offsetX, int offsetY, int ppi,
                         bool wire) const {
    const std::vector<QPoint> device = devicePoints(zoom, ppi, offsetX, offsetY, wire);
    if (device.empty()) return;
    const QPen pen = devicePen(zoom, ppi, wire);
    if (!isClosed()) {
        ShapeGeometry::drawBody(painter, kind, device, pen, Qt::NoBrush);
        return;
    }
    if (!wire && shadowDirection >= 1 && shadowDirection <= 4) {
        const int distance = std::clamp<int>(shadowDistance, 0, kMaxShadowDistance);
        const int m = std::max(1, int(distance * ppi * zoom / 24));
        const QPoint offset((shadowDirection % 2 == 1) ? -m : m, shadowDirection <= 2 ? -m : m);
        std::vector<QPoint> shifted = device;
        for (QPoint& p : shifted) p += offset;
        QPen shadowPen = pen;
        shadowPen.setColor(colourOf(shadowColour));
        ShapeGeometry::drawBody(painter, kind, shifted, shadowPen, QBrush(colourOf(shadowColour)));
    }
    if (!wire && fillType >= FirstEffect && fillType <= LastEffect) {
        paintEffectBody(painter, device, zoom, ppi, offsetX, offsetY);
        return;
    }
    // In wire mode an effect fill shows as its solid fill colour (fillBrush stands in).
    ShapeGeometry::drawBody(painter, kind, device, pen, fillBrush());
}

void GraphicBlock::paintEffectBody(QPainter& painter, const std::vector<QPoint>& device,
                                   double zoom, int ppi, int offsetX, int offsetY) const {
    // The effect spans the frame padded to whole bytes and shows wherever the shape paints,
    // outline included; no separate outline is drawn.
    const QPoint origin(toDevice(frame.left, ppi, zoom) + offsetX,
                        toDevice(frame.top, ppi, zoom) + offsetY);
    const int w = std::max(0, toDevice(frame.right, ppi, zoom) + offsetX - origin.x());
    const int h = std::max(0, toDevice(frame.bottom, ppi, zoom) + offsetY - origin.y());
    const QRect area(origin, QSize(((w + 15) / 8) * 8, h + 7));
    paintEffectFill(painter, area, fillType - (FirstEffect - 1), uint32_t(penColour),
                    uint32_t(fillColour), [&](QPainter& p, const QBrush& brush) {
                        ShapeGeometry::drawBody(p, kind, device, QPen(brush, 1), brush);
                    });
}

void GraphicBlock::draw(QPainter& painter, int flags, double zoom, int offsetX, int offsetY) {
    paint(painter, zoom, offsetX, offsetY, devicePixelsPerInch(painter), flags & DrawFlag::Wire);
    drawHandles(painter, flags, zoom);
}

void GraphicBlock::drawForOutput(QPainter& painter, double zoom, int offsetX, int offsetY,
                                 const OutputDevice& device) {
    paint(painter, zoom, offsetX, offsetY, device.pixelsPerInch, false);
}

}  // namespace pemo
