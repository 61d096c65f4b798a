#pragma once

#include <QImage>
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

    // The grips of a rotatable block: −11 at p0, −13 at p1, p2Grip at p2 (−16, or −3 for
    // the rotation grip), −18 at p3.
    void addCornerHandles(Block& block, int32_t p2Grip) const;
    // Whether device pixel (x, y) lies inside the quadrilateral, tested on the white
    // scratch bitmap the block list hands out.
    bool contains(QImage& scratch, double zoom, int x, int y) const;

    // The corner drag and the rotation of text and picture blocks. setCorners stores
    // the new corners in `corners`, makes the frame their bounding box, rebuilds the
    // block's grips and returns the dragged corner grip (none for other ids).
    static const BlockHandle* setCorners(Block& block, RotatedFrame& corners, int32_t gripId,
                                         const RotatedFrame& newCorners);
    // Turns the frame about p0 towards (x, y), keeping the block's size; the rotation
    // grip is returned.
    static const BlockHandle* rotateTowards(Block& block, RotatedFrame& corners, QPoint towards);
    // A page resize: p0 and the block's size scaled per axis (each product truncated),
    // the other corners and the frame recomputed.
    static void scaleBlock(Block& block, RotatedFrame& corners, double sx, double sy);
};

}  // namespace pemo
