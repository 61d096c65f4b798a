#include "EffectFill.h"

#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

#include "EffectPainter.h"

namespace pemo {

namespace {

constexpr int kLastGradient = 18;
constexpr int kLastPattern = 32;

QColor colourOf(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// The colour a fraction f of the way from one colour to the other, unrounded.
QColor mix(uint32_t from, uint32_t to, double f) {
    const QColor a = colourOf(from);
    const QColor b = colourOf(to);
    const auto channel = [f](int x, int y) { return float(std::clamp((x + (y - x) * f) / 255.0, 0.0, 1.0)); };
    return QColor::fromRgbF(channel(a.red(), b.red()), channel(a.green(), b.green()),
                            channel(a.blue(), b.blue()));
}

// A ramp over the pixel index s = (p − start)·unit / |unit|², p a pixel's centre: the colour
// of step s of `steps` from `from` to `to`; mirrored (mirror ≥ 0), the step is
// min(s, mirror − s).
QBrush ramp(QPointF start, QPointF unit, uint32_t from, uint32_t to, int steps, int mirror = -1) {
    if (mirror < 0) {
        QLinearGradient g(start, start + unit * steps);
        g.setColorAt(0, colourOf(from));
        g.setColorAt(1, colourOf(to));
        return QBrush(g);
    }
    if (mirror == 0) return QBrush(colourOf(from));
    QLinearGradient g(start, start + unit * mirror);
    g.setColorAt(0, colourOf(from));
    g.setColorAt(0.5, mix(from, to, mirror / 2.0 / steps));
    g.setColorAt(1, colourOf(from));
    return QBrush(g);
}

// Gradients 1 to 8: along the rows (1 to 4) or the columns (5 to 8) of one side.
QBrush axisRamp(QPointF first, QPointF unit, int length, int effect, uint32_t c1, uint32_t c2) {
    const int half = (length + 1) / 2;
    switch ((effect - 1) % 4) {
        case 0: return ramp(first, unit, c1, c2, length);
        case 1: return ramp(first, unit, c2, c1, length);  // step length − v of length
        case 2: return ramp(first, unit, c1, c2, half, length - 1);
        default: return ramp(first, unit, c2, c1, half, length - 1);  // step half − i of half
    }
}

bool drawsGradients(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->hasFeature(QPaintEngine::LinearGradientFill) &&
           engine->hasFeature(QPaintEngine::RadialGradientFill);
}

void paintVector(QPainter& painter, const QRect& area, int effect, uint32_t c1, uint32_t c2,
                 const EffectShape& shape) {
    painter.save();
    // Regions and their clips are whole pixels, as the effect's bitmap and its mask were.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrushOrigin(0, 0);
    painter.setClipRect(area, Qt::IntersectClip);
    if (effect >= 1 && effect <= kLastGradient) {
        shape(painter, effectGradient(area, effect, c1, c2));
        if (effect >= 9 && effect <= 12) {
            // The anti-diagonals never reach the bitmap's first column: it stays white.
            painter.setClipRect(QRect(area.left(), area.top(), 1, area.height()), Qt::IntersectClip);
            shape(painter, QBrush(Qt::white));
        }
    } else if (effect > kLastGradient && effect <= kLastPattern) {
        const PatternParts parts = patternParts(area.left(), area.top(), area.right() + 1,
                                                area.bottom() + 1, effect, c1, c2);
        shape(painter, QBrush(parts.ground));
        for (const QRect& piece : parts.rects) {
            painter.save();
            painter.setClipRect(piece, Qt::IntersectClip);
            shape(painter, QBrush(parts.other));
            painter.restore();
        }
        for (const QPolygon& piece : parts.polygons) {
            QPainterPath path;
            path.addPolygon(QPolygonF(piece));
            path.closeSubpath();
            painter.save();
            painter.setClipPath(path, Qt::IntersectClip);
            shape(painter, QBrush(parts.other));
            painter.restore();
        }
    } else {
        shape(painter, QBrush(Qt::white));
    }
    painter.restore();
}

void paintBands(QPainter& painter, const QRect& area, int effect, uint32_t c1, uint32_t c2,
                const EffectShape& shape) {
    const int rowsPerBand = int(std::max<int64_t>(1, kEffectBandBytes / (4 * int64_t(area.width()))));
    for (int first = 0; first < area.height(); first += rowsPerBand) {
        QImage colour = renderEffectRows(area.width(), area.height(), first, rowsPerBand, effect, c1, c2)
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QImage mask(colour.size(), QImage::Format_ARGB32_Premultiplied);
        if (colour.isNull() || mask.isNull()) return;
        mask.fill(Qt::transparent);
        {
            QPainter m(&mask);
            m.translate(-area.left(), -(area.top() + first));
            shape(m, QBrush(Qt::black));
        }
        {
            // Only the shape's own pixels keep their colour.
            QPainter p(&colour);
            p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            p.drawImage(0, 0, mask);
        }
        painter.drawImage(area.left(), area.top() + first, colour);
    }
}

}  // namespace

QBrush effectGradient(const QRect& area, int effect, uint32_t c1, uint32_t c2) {
    if (effect < 1 || effect > kLastGradient || area.isEmpty()) return QBrush(Qt::white);
    const QPointF origin = area.topLeft();
    const int w = area.width();
    const int h = area.height();
    const int L = std::max(w, h);
    if (effect <= 4) return axisRamp(origin + QPointF(0, 0.5), QPointF(0, 1), h, effect, c1, c2);
    if (effect <= 8) return axisRamp(origin + QPointF(0.5, 0), QPointF(1, 0), w, effect, c1, c2);
    const QPointF centre00 = origin + QPointF(0.5, 0.5);  // pixel (0, 0)
    if (effect <= 16) {
        // Diagonals of the L × L square: x + y (9 to 12) or x − y (13 to 16) is the line.
        const bool anti = effect <= 12;
        const bool twoEnded = effect == 11 || effect == 12 || effect == 15 || effect == 16;
        const uint32_t from = effect % 2 == 0 ? c2 : c1;
        const uint32_t to = effect % 2 == 0 ? c1 : c2;
        if (anti) {
            const QPointF unit(0.5, 0.5);
            return twoEnded ? ramp(centre00, unit, from, to, L, 2 * L - 1)
                            : ramp(centre00, unit, from, to, 2 * L);
        }
        const QPointF unit(0.5, -0.5);
        return twoEnded ? ramp(centre00 - unit * (L - 1), unit, from, to, L, 2 * L - 2)
                        : ramp(centre00 - unit * L, unit, from, to, 2 * L);
    }
    // Rings round (m, m): a pixel's ring is its centre's distance rounded up, so the
    // colour of distance d is step d + ½ of r0.
    const int m = (L + 1) / 2;
    const int r0 = ringSteps(L);
    const uint32_t from = effect == 17 ? c1 : c2;
    const uint32_t to = effect == 17 ? c2 : c1;
    QRadialGradient g(origin + QPointF(m, m), r0 - 0.5);
    g.setColorAt(0, mix(from, to, 0.5 / r0));
    g.setColorAt(1, colourOf(to));
    return QBrush(g);
}

void paintEffectFill(QPainter& painter, const QRect& area, int effect, uint32_t colour1,
                     uint32_t colour2, const EffectShape& shape, EffectRoute route) {
    if (area.isEmpty() || !shape) return;
    const bool gradient = effect >= 1 && effect <= kLastGradient;
    if (route == EffectRoute::Auto) {
        route = !gradient || drawsGradients(painter) ? EffectRoute::Vector : EffectRoute::Bands;
    }
    if (route == EffectRoute::Vector) {
        paintVector(painter, area, effect, colour1, colour2, shape);
    } else {
        paintBands(painter, area, effect, colour1, colour2, shape);
    }
}

}  // namespace pemo
