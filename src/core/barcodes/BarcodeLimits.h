#pragma once

#include "BarcodeFace.h"

namespace pemo {

// The smallest symbol of each symbology that a shop's scanner still reads: its narrowest
// bar (or a matrix code's module) and, for linear codes, its bars' height.
struct BarcodeLimits {
    double moduleMm = 0;
    double barHeightMm = 0;
    // Linear codes of variable length: the bars are at least this share of the bars' length.
    double heightShareOfLength = 0;

    static BarcodeLimits of(BarcodeFace::Symbology symbology);

    // The least bar height for bars of that length (quiet zones not counted).
    double leastBarHeightMm(double barsLengthMm) const;
};

}  // namespace pemo
