#pragma once

#include <QColor>
#include <QRectF>
#include <optional>

#include "BarcodeData.h"

class QPainter;

namespace pemo {

// Draws a barcode block's symbol as vectors: filled paths for the dark modules and text for
// the human-readable digits, never a picture. Linear symbols fill their area, their bars
// growing or shrinking with its height; QR and DataMatrix are square and centred. Data that
// cannot be drawn gives a frame saying "条码无效" instead.
class BarcodePainter {
public:
    // area: the unturned block in the painter's coordinates (device pixels); paper: the
    // block's background, none for a transparent block.
    static void paint(QPainter& painter, const QRectF& area, const BarcodeData& data, bool showText,
                      const QColor& ink, std::optional<QColor> paper);

    // Where the symbol's own rectangle (its quiet zones included) lands in area; empty
    // when nothing can be drawn.
    static QRectF placement(const QRectF& area, const BarcodeData& data, bool showText);

    static void paintInvalid(QPainter& painter, const QRectF& area, std::optional<QColor> paper);
};

}  // namespace pemo
