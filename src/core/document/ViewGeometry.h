#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace pemo {

// The arithmetic of the design view: the page's size at 100 %, the whole-page fit and
// the zoom steps. Sizes are device pixels; every division truncates as the view's
// integer arithmetic does.
class ViewGeometry {
public:
    // w100 × h100: twips × pixels per inch / 1440, truncated. Both axes take the
    // screen's vertical resolution.
    static QSize actualSize(int widthTw, int heightTw, int pixelsPerInch);

    // The largest page of the actual size's proportions inside the client area: when
    // W × h100 < H × w100 the width is W, otherwise the height is H. Empty when either
    // size is empty.
    static QSize fitSize(QSize actual, QSize client);
    // The fitted page placed in the client area: centred across the side it does not
    // fill, at 0 along the side it fills.
    static QRect fitRect(QSize actual, QSize client);

    // A page shown at another size is centred; an offset that would be negative is 0
    // (the page then scrolls).
    static QPoint centredOrigin(QSize page, QSize client);

    // 放大视图: a quarter of the actual size larger, at most the actual size. Nothing
    // when the canvas is already as wide as the actual page.
    static std::optional<QSize> zoomInSize(int canvasWidth, QSize actual);
    // 缩小视图: a quarter smaller; when that would fit inside the client area on both
    // sides, the fitted size instead, so zooming out never goes below the whole page.
    static QSize zoomOutSize(int canvasWidth, QSize actual, QSize client);

    // The zoom factor of a page shown this wide.
    static double zoomFor(int width, QSize actual);

    // Distance of the alignment lines in device pixels, at least 1.
    static int gridSpacing(int spacingMm, int pixelsPerInch, double zoom);
};

}  // namespace pemo
