#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>

#include "BarcodeData.h"
#include "BarcodeStyle.h"

class QPainter;

namespace pemo {

class BarcodeSymbol;

// Draws a barcode block's symbol as vectors: filled paths for the dark modules and text for
// the human-readable digits, never a picture. Linear symbols fill their area, their bars
// growing or shrinking with its height; QR and DataMatrix are square and centred. The
// symbol stands on a white ground as large as its quiet zones, in an ink a scanner sees as
// dark, whatever lies under the block. Data that cannot be drawn gives a frame saying
// "条码无效" (or "条码库没有安装") instead; a sample is marked "样例".
class BarcodePainter {
public:
    // Where a symbol lands in an area, in the area's units.
    struct Fit {
        std::shared_ptr<const BarcodeSymbol> symbol;
        QRectF target;      // the symbol's own rectangle, its quiet zones and digits included
        double scale = 0;   // area units per encoder unit
        bool onDots = false;  // moved and shrunk onto whole device dots

        double module() const;      // the narrowest bar or a matrix module
        double barHeight() const;   // linear symbols' bars; 0 for matrix symbols
        double barsLength() const;  // linear symbols' row of bars; 0 for matrix symbols
    };

    // The symbol for the area; no symbol when nothing can be drawn.
    static Fit fit(const QRectF& area, const BarcodeData& data, bool showText);
    // Where the symbol's own rectangle (its quiet zones included) lands in area; empty
    // when nothing can be drawn.
    static QRectF placement(const QRectF& area, const BarcodeData& data, bool showText);

    // area: the unturned block in the painter's coordinates; dotsPerInch: the resolution
    // of the device's dots when they are known (a picture, a printer), else 0. Known dots
    // make every module a whole number of them (the module rounded down, the symbol's
    // proportions kept, centred in the area) where the symbol lies upright or turned a
    // quarter on the device; otherwise the modules stay exact.
    static void paint(QPainter& painter, const QRectF& area, const BarcodeData& data,
                      const BarcodeStyle::Look& look, int dotsPerInch);

    static void paintInvalid(QPainter& painter, const QRectF& area, std::optional<QColor> paper,
                             const QString& text);

    // The ink itself when a scanner's red light sees it dark on white, else black.
    static QColor scannableInk(const QColor& ink);
};

}  // namespace pemo
