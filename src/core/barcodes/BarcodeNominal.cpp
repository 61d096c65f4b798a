#include "BarcodeNominal.h"

#include <algorithm>

#include "BarcodeData.h"
#include "BarcodeSymbol.h"

namespace pemo {

namespace {

using S = BarcodeFace::Symbology;

// The module (X dimension) and bar height a symbol is printed at by default, mm.
//  - EAN-13, UPC-A, EAN-8: the GS1 nominal size (magnification 100 %): X 0.330 mm, bars
//    22.85 mm (EAN-8 18.23 mm); an EAN-13 is then 37.29 × 25.93 mm.
//  - ITF-14: the GS1 nominal X of 1.016 mm with bars of 31.75 mm.
//  - Code 128 and Code 39: X 0.33 mm, well above the usual least of 0.19 mm, bars 15 % of
//    the symbol's length and at least 10 mm.
//  - QR and DataMatrix: modules of 0.5 mm, twice the least a shop's imager reads.
struct Nominal {
    double moduleMm;
    double barHeightMm;
    double heightShareOfLength;
};

Nominal nominalOf(S symbology) {
    switch (symbology) {
        case S::Ean13:
        case S::UpcA: return {0.33, 22.85, 0};
        case S::Ean8: return {0.33, 18.23, 0};
        case S::Itf14: return {1.016, 31.75, 0};
        case S::Code128:
        case S::Code39: return {0.33, 10.0, 0.15};
        case S::Qr:
        case S::DataMatrix: return {0.5, 0, 0};
    }
    return {0.33, 10.0, 0.15};
}

QString sampleText(S symbology) {
    switch (symbology) {
        case S::Ean13: return QStringLiteral("6901234567892");
        case S::Ean8: return QStringLiteral("96385074");
        case S::UpcA: return QStringLiteral("036000291452");
        case S::Itf14: return QStringLiteral("15400141288763");
        default: return QStringLiteral("6901234567892");
    }
}

}  // namespace

QSizeF BarcodeNominal::sizeMm(S symbology, const QString& text, bool showText) {
    BarcodeData data = BarcodeData::prepare(symbology, text);
    if (!data.valid()) data = BarcodeData::prepare(symbology, sampleText(symbology));
    const auto symbol = BarcodeSymbol::make(data, showText);
    if (!symbol || symbol->size.isEmpty()) return {};
    const Nominal n = nominalOf(symbology);
    const double mmPerUnit = n.moduleMm / BarcodeSymbol::kUnitsPerModule;
    const double width = symbol->size.width() * mmPerUnit;
    if (BarcodeFace::isMatrix(symbology)) return {width, symbol->size.height() * mmPerUnit};
    // The symbol's height beyond its bars is the digits' band.
    const double barsUnits = BarcodeSymbol::kDefaultBarHeight * BarcodeSymbol::kUnitsPerModule;
    const double digits = std::max(0.0, symbol->size.height() - barsUnits) * mmPerUnit;
    const double bars = std::max(n.barHeightMm, n.heightShareOfLength * width);
    return {width, bars + digits};
}

QSizeF BarcodeNominal::fittedMm(const QSizeF& nominalMm, const QSizeF& pageMm) {
    if (nominalMm.isEmpty()) return nominalMm;
    const double fit = std::min(pageMm.width() / nominalMm.width(), pageMm.height() / nominalMm.height());
    return nominalMm * std::clamp(fit, kLeastScale, 1.0);
}

}  // namespace pemo
