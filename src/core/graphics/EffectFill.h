#pragma once

#include <QBrush>
#include <QRect>
#include <cstdint>
#include <functional>

class QPainter;

namespace pemo {

// How an effect fill reaches its device.
enum class EffectRoute {
    Auto,    // Vector where the device draws linear and radial gradients itself, else Bands
    Vector,  // gradient brushes and clipped two-colour regions: PDF and printers keep them
    Bands,   // the effect's bitmap a strip at a time, each masked by the shape
};

// The most bytes one strip of the Bands route holds.
constexpr int kEffectBandBytes = 4 << 20;

// Draws a shape's coverage in the painter's coordinates, with this brush as the pen's
// brush and as the fill (text: as the pen); the effect shows only where it paints.
using EffectShape = std::function<void(QPainter& painter, const QBrush& brush)>;

// The effect (1 to 32, anything else white) of a bitmap laid over `area`, its top-left
// the effect's origin, shown where `shape` paints within area. No bitmap of area's size
// is made: the colours are those of renderEffect over area, within one step of the
// gradient per byte.
void paintEffectFill(QPainter& painter, const QRect& area, int effect, uint32_t colour1,
                     uint32_t colour2, const EffectShape& shape,
                     EffectRoute route = EffectRoute::Auto);

// The brush of gradient effect 1 to 18 over area (a white brush for another number).
QBrush effectGradient(const QRect& area, int effect, uint32_t colour1, uint32_t colour2);

}  // namespace pemo
