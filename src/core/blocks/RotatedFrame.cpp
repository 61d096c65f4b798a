#include "RotatedFrame.h"

#include <algorithm>
#include <cmath>

namespace pemo {

double RotatedFrame::angle(QPoint a, QPoint b) {
    if (a.y() == b.y()) return a.x() < b.x() ? 0.0 : kPi;
    if (a.x() == b.x()) return b.y() < a.y() ? kHalfPi : kThreeHalfPi;
    const double alpha = std::atan(double(std::abs(b.y() - a.y())) / std::abs(b.x() - a.x()));
    const bool above = b.y() < a.y();
    const bool right = b.x() > a.x();
    if (above) return right ? alpha : kPi - alpha;
    return right ? kTwoPi - alpha : kPi + alpha;
}

RotatedFrame RotatedFrame::fromOrigin(QPoint p0, double theta, int width, int height) {
    if (theta < 0) theta += kTwoPi;
    if (theta > kTwoPi) theta -= kTwoPi;
    const double s = -std::sin(theta);
    const double c = std::cos(theta);
    const auto offset = [&](double dx, double dy) {
        return p0 + QPoint(static_cast<int>(dx), static_cast<int>(dy));
    };
    RotatedFrame f;
    f.p0 = p0;
    f.p1 = offset(-height * s, height * c);
    f.p2 = offset(width * c, width * s);
    f.p3 = offset(width * c - height * s, width * s + height * c);
    return f;
}

RotatedFrame RotatedFrame::fromRect(const TwipsRect& r) {
    return {QPoint(r.left, r.top), QPoint(r.left, r.bottom), QPoint(r.right, r.top),
            QPoint(r.right, r.bottom)};
}

TwipsRect RotatedFrame::bounds() const {
    const auto [minX, maxX] = std::minmax({p0.x(), p1.x(), p2.x(), p3.x()});
    const auto [minY, maxY] = std::minmax({p0.y(), p1.y(), p2.y(), p3.y()});
    return {minX, minY, maxX, maxY};
}

void RotatedFrame::moveBy(int dx, int dy) {
    const QPoint d(dx, dy);
    p0 += d;
    p1 += d;
    p2 += d;
    p3 += d;
}

}  // namespace pemo
