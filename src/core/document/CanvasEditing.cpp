#include "CanvasEditing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "InfoRecord.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/RotatedFrame.h"
#include "core/blocks/TextBlock.h"

namespace pemo::CanvasEditing {

namespace {
constexpr int32_t kMinimumSide = 100;
constexpr int32_t kMinimumLiveText = 200;
}  // namespace

QPoint clampToPage(QPoint p, int32_t pageWidth, int32_t pageHeight) {
    return QPoint(std::clamp(p.x(), 0, pageWidth), std::clamp(p.y(), 0, pageHeight));
}

QPoint limitMove(const InfoRecord& record, QPoint delta) {
    const std::vector<Block*> unlocked = record.unlockedSelection();
    if (unlocked.empty()) return QPoint();
    int dx = delta.x();
    int dy = delta.y();
    const int32_t W = record.widthTw;
    const int32_t H = record.heightTw;
    if (unlocked.size() == 1) {
        const TwipsRect& f = unlocked.front()->frame;
        const int32_t w = f.width() * 3 / 4;
        const int32_t h = f.height() * 3 / 4;
        dx = std::clamp(dx, -w - f.left, W + w - f.right);
        dy = std::clamp(dy, -h - f.top, H + h - f.bottom);
        return QPoint(dx, dy);
    }
    return limitGroupMove(record, delta);
}

QPoint limitGroupMove(const InfoRecord& record, QPoint delta) {
    const std::vector<Block*> unlocked = record.unlockedSelection();
    if (unlocked.empty()) return QPoint();
    int dx = delta.x();
    int dy = delta.y();
    const int32_t W = record.widthTw;
    const int32_t H = record.heightTw;
    TwipsRect box{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(),
                  std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
    for (const Block* b : unlocked) {
        box.left = std::min(box.left, b->frame.left);
        box.top = std::min(box.top, b->frame.top);
        box.right = std::max(box.right, b->frame.right);
        box.bottom = std::max(box.bottom, b->frame.bottom);
    }
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    // A box already past an edge does not move further past it, nor jump back.
    dx = std::max(dx, std::min(0, -box.left));
    dx = std::min(dx, std::max(0, W - box.right));
    dy = std::max(dy, std::min(0, -box.top));
    dy = std::min(dy, std::max(0, H - box.bottom));
    return QPoint(dx, dy);
}

QPoint moveSelection(InfoRecord& record, QPoint delta) {
    const QPoint d = limitMove(record, delta);
    if (d.isNull()) return d;
    for (Block* b : record.unlockedSelection()) b->moveBy(d.x(), d.y());
    return d;
}

TwipsRect resizeFrame(const TwipsRect& frame, int32_t grip, QPoint mouse, int32_t W, int32_t H,
                      bool keepAspect) {
    TwipsRect r = frame;
    const int32_t x = mouse.x();
    const int32_t y = mouse.y();
    const bool moveLeft = grip == BlockHandle::TopLeft || grip == BlockHandle::MiddleLeft ||
                          grip == BlockHandle::BottomLeft;
    const bool moveRight = grip == BlockHandle::TopRight || grip == BlockHandle::MiddleRight ||
                           grip == BlockHandle::BottomRight;
    const bool moveTop = grip == BlockHandle::TopLeft || grip == BlockHandle::MiddleTop ||
                         grip == BlockHandle::TopRight;
    const bool moveBottom = grip == BlockHandle::BottomLeft || grip == BlockHandle::MiddleBottom ||
                            grip == BlockHandle::BottomRight;
    if (moveRight) r.right = x > r.left ? x : r.left + kMinimumSide;
    if (moveLeft) r.left = x < r.right ? x : r.right - kMinimumSide;
    if (moveBottom) r.bottom = y > r.top ? y : r.top + kMinimumSide;
    if (moveTop) r.top = y < r.bottom ? y : r.bottom - kMinimumSide;
    r.left = std::clamp(r.left, 0, W);
    r.right = std::clamp(r.right, 0, W);
    r.top = std::clamp(r.top, 0, H);
    r.bottom = std::clamp(r.bottom, 0, H);

    const int32_t oldW = frame.width();
    const int32_t oldH = frame.height();
    // Proportions cannot be kept from a frame without width or height.
    if (!keepAspect || oldW == 0 || oldH == 0) return r;
    const int32_t newW = r.width();
    const int32_t newH = r.height();
    const bool corner = (moveLeft || moveRight) && (moveTop || moveBottom);
    if (corner) {
        if (double(newH) / oldH > double(newW) / oldW) {
            r.bottom = r.top + newW * oldH / oldW;
        } else {
            r.right = r.left + newH * oldW / oldH;
        }
    } else if (moveLeft || moveRight) {
        r.bottom = r.top + newW * oldH / oldW;
        if (r.bottom > H) {
            r.bottom = H;
            r.right = r.left + (H - r.top) * oldW / oldH;
        }
    } else {
        r.right = r.left + newH * oldW / oldH;
        if (r.right > W) {
            r.right = W;
            r.bottom = r.top + (W - r.left) * oldH / oldW;
        }
    }
    return r;
}

namespace {

// The corners after dragging corner grip −18, −13 or −11 of a rotated frame to the mouse:
// the opposite corner stays, each side at least kMinimumSide. With a natural size the
// sides are fitted to its proportions.

struct Resized {
    RotatedFrame corners;
    int32_t width = 0;
    int32_t height = 0;
};

std::optional<Resized> resizeCorners(const RotatedFrame& c, int32_t grip, QPoint mouse,
                                     QSize natural) {
    const double theta = c.angle();
    const double s = -std::sin(theta);
    const double cs = std::cos(theta);
    QPoint anchor;
    switch (grip) {
        case BlockHandle::BottomRight: anchor = c.p0; break;
        case BlockHandle::BottomLeft: anchor = c.p2; break;
        case BlockHandle::TopLeft: anchor = c.p3; break;
        default: return std::nullopt;
    }
    const double dx = mouse.x() - anchor.x();
    const double dy = mouse.y() - anchor.y();
    const int32_t alongX = static_cast<int32_t>(dx * cs + dy * s);
    const int32_t alongY = static_cast<int32_t>(dy * cs - dx * s);
    int32_t width = grip == BlockHandle::BottomRight ? std::max(alongX, kMinimumSide)
                                                     : -std::min(alongX, -kMinimumSide);
    int32_t height = grip == BlockHandle::TopLeft ? -std::min(alongY, -kMinimumSide)
                                                  : std::max(alongY, kMinimumSide);
    // A picture without a size (none loaded) has no proportions to keep.
    if (natural.width() > 0 && natural.height() > 0) {
        if (double(height) / natural.height() > double(width) / natural.width()) {
            height = static_cast<int32_t>(qint64(width) * natural.height() / natural.width());
        } else {
            width = static_cast<int32_t>(qint64(height) * natural.width() / natural.height());
        }
    }
    QPoint origin = anchor;
    if (grip == BlockHandle::BottomLeft) {
        // p2 stays: p0 lies width back along the frame's x axis.
        origin = anchor - QPoint(static_cast<int>(width * cs), static_cast<int>(width * s));
    } else if (grip == BlockHandle::TopLeft) {
        origin = anchor - QPoint(static_cast<int>(width * cs - height * s),
                                 static_cast<int>(width * s + height * cs));
    }
    return Resized{RotatedFrame::fromOrigin(origin, theta, width, height), width, height};
}

}  // namespace

void resizeTextBlock(TextBlock& block, int32_t grip, QPoint mouse) {
    const RotatedFrame& c = block.corners();
    if (grip == BlockHandle::TopRight && block.isLiveText()) {
        const int32_t left = c.p0.x();
        const int32_t bottom = c.p3.y();
        const int32_t right = std::max(mouse.x(), left + kMinimumLiveText);
        const int32_t top = std::min(mouse.y(), bottom - kMinimumLiveText);
        block.sizeWidth = right - left;
        block.sizeHeight = bottom - top;
        block.setCorners(grip, QPoint(left, top), QPoint(left, bottom), QPoint(right, top),
                         QPoint(right, bottom));
        return;
    }
    const std::optional<Resized> r = resizeCorners(c, grip, mouse, QSize());
    if (!r) return;
    block.sizeWidth = r->width;
    block.sizeHeight = r->height;
    const RotatedFrame& f = r->corners;
    block.setCorners(grip, f.p0, f.p1, f.p2, f.p3);
}

void dragPictureGrip(PictureBlock& block, int32_t grip, QPoint mouse) {
    if (grip == BlockHandle::Rotation) {
        block.rotateTowards(mouse.x(), mouse.y());
        return;
    }
    const QSize natural = block.aspectMode == 1 ? block.naturalSize() : QSize();
    const std::optional<Resized> r = resizeCorners(block.corners(), grip, mouse, natural);
    if (!r) return;
    block.sizeWidth = r->width;
    block.sizeHeight = r->height;
    const RotatedFrame& f = r->corners;
    block.setCorners(grip, f.p0, f.p1, f.p2, f.p3);
}

void selectInBand(InfoRecord& record, const TwipsRect& band) {
    const TwipsRect b{std::min(band.left, band.right), std::min(band.top, band.bottom),
                      std::max(band.left, band.right), std::max(band.top, band.bottom)};
    for (auto& block : record.blocks) {
        const TwipsRect& f = block->frame;
        if (!block->selected && f.left >= b.left && f.right <= b.right && f.top >= b.top &&
            f.bottom <= b.bottom) {
            record.selectBlock(block.get());
        }
    }
}

}  // namespace pemo::CanvasEditing
