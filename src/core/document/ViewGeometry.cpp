#include "ViewGeometry.h"

#include <algorithm>

#include "core/blocks/Twips.h"

namespace pemo {

namespace {

QSize scaled(QSize actual, double z) {
    return QSize(static_cast<int>(actual.width() * z), static_cast<int>(actual.height() * z));
}

// W × h100 < H × w100: the client area is relatively narrower than the page.
bool isWidthLimited(QSize actual, QSize client) {
    return qint64(client.width()) * actual.height() < qint64(client.height()) * actual.width();
}

}  // namespace

QSize ViewGeometry::actualSize(int widthTw, int heightTw, int pixelsPerInch) {
    return QSize(toDevice(widthTw, pixelsPerInch, 1.0), toDevice(heightTw, pixelsPerInch, 1.0));
}

QSize ViewGeometry::fitSize(QSize actual, QSize client) {
    const qint64 w100 = actual.width();
    const qint64 h100 = actual.height();
    const qint64 W = client.width();
    const qint64 H = client.height();
    if (w100 <= 0 || h100 <= 0 || W <= 0 || H <= 0) return QSize(0, 0);
    if (isWidthLimited(actual, client)) return QSize(int(W), int(W * h100 / w100));
    return QSize(int(H * w100 / h100), int(H));
}

QRect ViewGeometry::fitRect(QSize actual, QSize client) {
    const QSize size = fitSize(actual, client);
    if (size.isEmpty()) return QRect();
    if (isWidthLimited(actual, client)) {
        return QRect(QPoint(0, (client.height() - size.height()) / 2), size);
    }
    return QRect(QPoint((client.width() - size.width()) / 2, 0), size);
}

QPoint ViewGeometry::centredOrigin(QSize page, QSize client) {
    return QPoint(std::max(0, (client.width() - page.width()) / 2),
                  std::max(0, (client.height() - page.height()) / 2));
}

std::optional<QSize> ViewGeometry::zoomInSize(int canvasWidth, QSize actual) {
    if (actual.width() <= 0 || canvasWidth >= actual.width()) return std::nullopt;
    double z = double(canvasWidth) / actual.width() + 0.25;
    if (z >= 1.0) z = 1.0;
    return scaled(actual, z);
}

QSize ViewGeometry::zoomOutSize(int canvasWidth, QSize actual, QSize client) {
    if (actual.width() <= 0) return QSize();
    const double z = double(canvasWidth) / actual.width() - 0.25;
    const QSize size = scaled(actual, z);
    if (size.width() < client.width() && size.height() < client.height()) {
        return fitSize(actual, client);
    }
    return size;
}

double ViewGeometry::zoomFor(int width, QSize actual) {
    return actual.width() > 0 ? double(width) / actual.width() : 1.0;
}

int ViewGeometry::gridSpacing(int spacingMm, int pixelsPerInch, double zoom) {
    const int d = static_cast<int>(spacingMm * pixelsPerInch * zoom * 0.03937007874015748);
    return std::max(1, d);
}

}  // namespace pemo
