#include "ThumbnailGeometry.h"

namespace pemo {

QRect ThumbnailGeometry::rowRect(int row) const {
    const int top = row * rowHeight();
    return QRect(QPoint(0, top), QPoint(width, top + rowHeight()));
}

// The rectangles run from (left, top) to (right, bottom), the right and bottom edges
// excluded, so their sizes are the differences of the corners.
QRect ThumbnailGeometry::thumbnailRect(int row) const {
    const int top = row * rowHeight();
    return QRect(6, top + 3, width - 12, thumbnailHeight());
}

QRect ThumbnailGeometry::captionRect(int row) const {
    const int top = row * rowHeight();
    return QRect(6, top + thumbnailHeight() + 6, width - 12, 14);
}

int ThumbnailGeometry::visibleRows() const {
    const int row = rowHeight();
    if (!exists || row <= 0)
        return 10;
    return (row + height - 1) / row;
}

int ThumbnailGeometry::scrollMaximum(int count) const {
    const int visible = visibleRows();
    return count > visible - 2 ? std::max(0, count - visible + 1) : 0;
}

QRect fitRect(QSize picture, const QRect& box) {
    const qint64 w = picture.width(), h = picture.height();
    const qint64 W = box.width(), H = box.height();
    if (w <= 0 || h <= 0 || W <= 0 || H <= 0)
        return {};
    if (w <= W && h <= H) {
        return QRect(box.left() + int((W - w) / 2), box.top() + int((H - h) / 2), int(w), int(h));
    }
    if (W * h == H * w)
        return box;
    if (W * h < H * w) {
        const int height = int(W * h / w);
        return QRect(box.left(), box.top() + (int(H) - height) / 2, int(W), height);
    }
    const int width = int(H * w / h);
    return QRect(box.left() + (int(W) - width) / 2, box.top(), width, int(H));
}

}  // namespace pemo
