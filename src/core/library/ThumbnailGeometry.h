#pragma once

#include <QRect>
#include <QSize>

namespace pemo {

// The layout of the library's thumbnail lists for a client area of width × height
// pixels: one row per item, the thumbnail three quarters as high as it is wide, its
// caption below.
struct ThumbnailGeometry {
    int width = 0;
    int height = 0;
    // False before the list's window exists: then ten rows count as visible.
    bool exists = true;

    int thumbnailHeight() const { return (3 * width - 36) / 4; }
    int rowHeight() const { return thumbnailHeight() + 23; }
    // The rectangles of the row'th visible row (0 = the top one).
    QRect rowRect(int row) const;
    QRect thumbnailRect(int row) const;
    QRect captionRect(int row) const;
    // Rows drawn at once: a partly visible row counts.
    int visibleRows() const;
    // The largest scroll position (the index of the first visible item) for count items.
    int scrollMaximum(int count) const;
};

// Where a picture of the given size is drawn in a box: at its own size and centred
// when it fits, else shrunk to the box's width or height keeping its proportions,
// centred across the other way. Integer arithmetic throughout.
QRect fitRect(QSize picture, const QRect& box);

}  // namespace pemo
