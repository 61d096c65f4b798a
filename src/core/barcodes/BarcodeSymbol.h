#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>
#include <vector>

#include "BarcodeData.h"

namespace pemo {

// One encoded symbol as vectors, in the encoder's units (two units to a module): the dark
// modules as one path, the human-readable texts, and the whole size with its quiet zones.
// Symbols are kept in a cache, so a sign drawn again (every repaint, every copy of a
// print job) encodes nothing.
class BarcodeSymbol {
public:
    struct Label {
        QPointF baseline;  // the anchor point on the text's baseline
        double size = 0;   // em height
        int align = 0;     // 0 centred on the anchor, 1 starting at it, 2 ending at it
        QString text;
    };

    // Encodes valid data; null when the encoder refuses it (too long for the symbology).
    // barHeight is the height of linear bars in modules; matrix symbols ignore it.
    static std::shared_ptr<const BarcodeSymbol> make(const BarcodeData& data, bool showText,
                                                     int barHeight = kDefaultBarHeight);

    // The symbol encoded afresh, past the cache: make() encodes the standard bar height
    // only and grows or shrinks the bars of the others from it.
    static std::shared_ptr<const BarcodeSymbol> encoded(const BarcodeData& data, bool showText,
                                                        int barHeight);

    // Why no symbol can be drawn for the data (its own problem, or the encoder's refusal);
    // empty when one can.
    static QString problemOf(const BarcodeData& data);

    static constexpr int kDefaultBarHeight = 50;
    // Units of height a linear symbol gains with each module of bar height.
    static constexpr double kUnitsPerModule = 2.0;

    // Units across one module.
    static constexpr double kUnitsPerModuleWidth = 2.0;

    QSizeF size;
    QPainterPath bars;
    // The same dark modules as rectangles: drawn as such, a PDF holds each as one short
    // "re" instead of a path of five points.
    std::vector<QRectF> barRects;
    // Linear symbols: the height of their bars (guard bars reach lower) and the length of
    // the row of bars, quiet zones not counted; 0 for matrix symbols.
    double barHeight = 0;
    double barsLength = 0;
    std::vector<Label> labels;
    int columns = 0;  // modules across, without quiet zones
    int rows = 0;     // rows of modules (1 for linear symbols)
};

}  // namespace pemo
