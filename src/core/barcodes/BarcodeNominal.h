#pragma once

#include <QSizeF>
#include <QString>

#include "BarcodeFace.h"

namespace pemo {

// The size a symbol takes when the user gives none (a click to place it): each
// symbology's usual module and bar height, the quiet zones and digits included.
class BarcodeNominal {
public:
    // Millimetres; empty when the encoder refuses the text. A text the symbology cannot
    // take (a placeholder's empty value, say) is sized as a sample of the symbology.
    static QSizeF sizeMm(BarcodeFace::Symbology symbology, const QString& text, bool showText);

    // That size scaled to fit a page, never below 80 % of it, where scanners still read
    // EAN and UPC; the page may then not hold it whole.
    static QSizeF fittedMm(const QSizeF& nominalMm, const QSizeF& pageMm);

    static constexpr double kLeastScale = 0.8;
};

}  // namespace pemo
