#pragma once

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <cstdint>
#include <vector>

class QPainter;

namespace pemo {

// The shared gradient and pattern painter. Colours are 0x00BBGGRR values.
// Effects 1 to 18 are gradients from colour1 to colour2, 19 to 32 two-colour patterns;
// every other number paints white. A rectangle without area paints nothing.
void paintEffect(QPainter& painter, int left, int top, int right, int bottom, int effect,
                 uint32_t colour1, uint32_t colour2);

// The same effect as a width × height RGB32 image (a null image when either is not positive).
QImage renderEffect(int width, int height, int effect, uint32_t colour1, uint32_t colour2);

// Rows firstRow … firstRow + rows − 1 of that image (a null image when none of them lie in it).
QImage renderEffectRows(int width, int height, int firstRow, int rows, int effect,
                        uint32_t colour1, uint32_t colour2);

// A two-colour pattern (effects 19 to 32) over the box (left, top) … (right, bottom),
// right and bottom exclusive: the ground colour everywhere, the other colour over the
// rectangles (whole pixels) and then the polygons (filled without antialiasing).
struct PatternParts {
    QColor ground;
    QColor other;
    std::vector<QRect> rects;
    std::vector<QPolygon> polygons;
};
PatternParts patternParts(int left, int top, int right, int bottom, int effect, uint32_t colour1,
                          uint32_t colour2);

// The number of steps of the ring effects (17, 18) over a bitmap whose longer side is `side`.
int ringSteps(int side);

// Colour number `step` of `steps` between two colours, each byte on its own, truncating.
uint32_t effectStep(uint32_t colour1, uint32_t colour2, int step, int steps);

// A one-bit mask of this size, all clear; paint set bits in white.
QImage blankMask(int width, int height);

// Copies the width × height top-left part of the colour image to (x, y) where the mask's
// bit is set and leaves the destination alone elsewhere.
void maskedCopy(QPainter& painter, int x, int y, int width, int height, const QImage& colour,
                const QImage& mask);

}  // namespace pemo
