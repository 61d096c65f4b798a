#pragma once

#include <QPoint>

#include "Block.h"

namespace pemo {

// The rotatable frame of text and picture blocks: p0 top-left, p1 bottom-left,
// p2 top-right, p3 bottom-right of the unrotated frame, in page twips.
struct RotatedFrame {
    QPoint p0, p1, p2, p3;

    // The constants the stored geometry was computed with; kept so corners come
    // out to the same twip.
    static constexpr double kPi = 3.1415926;
    static constexpr double kHalfPi = 1.5707963;
    static constexpr double kThreeHalfPi = 4.7123889;
    static constexpr double kTwoPi = 6.2831852;

    // Direction from a to b, counterclockwise with y pointing up on the screen, 0 to 2π.
    static double angle(QPoint a, QPoint b);
    double angle() const { return angle(p0, p2); }

    // The corners from p0, the angle and the unrotated width and height; each offset
    // from p0 is truncated toward zero before it is added.
    static RotatedFrame fromOrigin(QPoint p0, double theta, int width, int height);
    // The unrotated corners of a rectangle.
    static RotatedFrame fromRect(const TwipsRect& rect);

    // The bounding box of the four corners.
    TwipsRect bounds() const;

    void moveBy(int dx, int dy);
    bool operator==(const RotatedFrame&) const = default;
};

}  // namespace pemo
