#include "RotatedFrame.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "Twips.h"

namespace pemo {


double RotatedFrame::angle(QPoint a, QPoint b) {
    if (a.y() == b.y()) return a.x() < b.x() ? 0.0 : kPi;
    if (a.x() == b.x()) return b.y() < a.y() ? kHalfPi : kThreeHalfPi;
    const double alpha = std::atan(std::abs(double(b.y()) - a.y()) / std::abs(double(b.x()) - a.x()));
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
        return QPoint(saturatedInt(p0.x() + std::trunc(dx)), saturatedInt(p0.y() + std::trunc(dy)));
    };
    RotatedFrame f;
    f.p0 = p0;
    f.p1 = offset(-double(height) * s, double(height) * c);
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
    for (QPoint* p : {&p0, &p1, &p2, &p3}) {
        *p = QPoint(saturatedInt(double(p->x()) + dx), saturatedInt(double(p->y()) + dy));
    }
}

void RotatedFrame::addCornerHandles(Block& block, int32_t p2Grip) const {
    block.addHandle(BlockHandle::TopLeft, -1, p0.x(), p0.y());
    block.addHandle(BlockHandle::BottomLeft, -1, p1.x(), p1.y());
    block.addHandle(p2Grip, -1, p2.x(), p2.y());
    block.addHandle(BlockHandle::BottomRight, -1, p3.x(), p3.y());
}

bool RotatedFrame::contains(QImage& scratch, double zoom, int x, int y) const {
    const int ppi = scratch.logicalDpiY();
    const auto device = [&](QPoint p) {
        return QPoint(toDevice(p.x(), ppi, zoom), toDevice(p.y(), ppi, zoom));
    };
    QPainterPath quad;
    quad.moveTo(device(p0));
    quad.lineTo(device(p1));
    quad.lineTo(device(p3));
    quad.lineTo(device(p2));
    quad.closeSubpath();
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::black);
        p.drawPath(quad);
    }
    return QRect(QPoint(0, 0), scratch.size()).contains(x, y) &&
           scratch.pixelColor(x, y) == QColor(Qt::black);
}

const BlockHandle* RotatedFrame::setCorners(Block& block, RotatedFrame& corners, int32_t gripId,
                                            const RotatedFrame& newCorners) {
    corners = newCorners;
    block.frame = corners.bounds();
    block.rebuildHandles(true);
    if (!BlockHandle::isResizeGrip(gripId)) return nullptr;
    const bool corner = gripId == BlockHandle::BottomRight || gripId == BlockHandle::TopRight ||
                        gripId == BlockHandle::BottomLeft || gripId == BlockHandle::TopLeft;
    if (!corner) return nullptr;
    for (const auto& h : block.handles()) {
        if (h->id == gripId) return h.get();
    }
    return nullptr;
}

const BlockHandle* RotatedFrame::rotateTowards(Block& block, RotatedFrame& corners, QPoint towards) {
    const double theta = angle(corners.p0, towards);
    corners = fromOrigin(corners.p0, theta, block.sizeWidth, block.sizeHeight);
    block.frame = corners.bounds();
    block.clearHandles();
    corners.addCornerHandles(block, BlockHandle::Rotation);
    for (const auto& h : block.handles()) {
        if (h->id == BlockHandle::Rotation) return h.get();
    }
    return nullptr;
}

void RotatedFrame::scaleBlock(Block& block, RotatedFrame& corners, double sx, double sy) {
    const double theta = corners.angle();
    const QPoint p0(saturatedInt(corners.p0.x() * sx), saturatedInt(corners.p0.y() * sy));
    block.sizeWidth = saturatedInt(block.sizeWidth * sx);
    block.sizeHeight = saturatedInt(block.sizeHeight * sy);
    corners = fromOrigin(p0, theta, block.sizeWidth, block.sizeHeight);
    block.frame = corners.bounds();
}

}  // namespace pemo
