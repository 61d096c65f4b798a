#include "BarcodeLimits.h"

#include <algorithm>

namespace pemo {

namespace {

using S = BarcodeFace::Symbology;

// Where the figures come from:
//  - EAN-13, UPC-A, EAN-8 (GS1 General Specifications, symbol specification table for
//    trade items scanned at the point of sale): X 0.330 mm at 100 %, no less than 80 %,
//    0.264 mm; bars 22.85 mm high at 100 % (EAN-8 18.23 mm), kept in proportion, so at
//    least 18.28 mm (EAN-8 14.58 mm) at 80 %.
//  - ITF-14 (the same specifications, general distribution): X at least 0.495 mm, bars
//    at least 31.75 mm high.
//  - Code 128 and Code 39 (ISO/IEC 15417 and ISO/IEC 16388 leave X to the application;
//    the usual application minimum is 7.5 mil): X at least 0.19 mm; bars at least
//    6.35 mm high and at least 15 % of the symbol's length.
//  - QR (ISO/IEC 18004) and DataMatrix (ISO/IEC 16022) likewise leave the module to the
//    application: at least 0.25 mm, what a shop's imager reads from a printed tag.
struct Row {
    S symbology;
    BarcodeLimits limits;
};

constexpr Row kLimits[] = {
    {S::Ean13, {0.264, 18.28, 0}},   {S::UpcA, {0.264, 18.28, 0}},     {S::Ean8, {0.264, 14.58, 0}},
    {S::Itf14, {0.495, 31.75, 0}},   {S::Code128, {0.19, 6.35, 0.15}}, {S::Code39, {0.19, 6.35, 0.15}},
    {S::Qr, {0.25, 0, 0}},           {S::DataMatrix, {0.25, 0, 0}},
};

}  // namespace

BarcodeLimits BarcodeLimits::of(S symbology) {
    for (const Row& row : kLimits) {
        if (row.symbology == symbology) return row.limits;
    }
    return {};
}

double BarcodeLimits::leastBarHeightMm(double barsLengthMm) const {
    return std::max(barHeightMm, heightShareOfLength * barsLengthMm);
}

}  // namespace pemo
