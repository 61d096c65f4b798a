#pragma once

#include <QPaintDevice>
#include <QPainter>
#include <cstdint>
#include <limits>

namespace pemo {

// A coordinate computed in double, truncated toward zero and held to the 32-bit range:
// coordinates from a damaged file can be anywhere in that range, and their sums and
// products must not overflow.
inline int saturatedInt(double v) {
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    if (!(v > kLow)) return std::numeric_limits<int>::min();
    if (!(v < kHigh)) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

inline constexpr int kTwipsPerInch = 1440;
// 1440 / 25.4, as the page sizes in millimetres are converted.
inline constexpr double kTwipsPerMm = 56.69291338582677;

inline int32_t mmToTwips(int32_t mm) { return static_cast<int32_t>(mm * kTwipsPerMm); }

// device pixels = twips × pixels per inch × zoom / 1440, truncated toward zero.
inline int toDevice(int twips, double pixelsPerInch, double zoom) {
    return saturatedInt(twips * pixelsPerInch * zoom / kTwipsPerInch);
}

// twips = pixels / zoom × 1440 / pixels per inch, truncated toward zero.
inline int toTwips(int pixels, double zoom, double pixelsPerInch) {
    return saturatedInt(pixels / zoom * kTwipsPerInch / pixelsPerInch);
}

// Both axes use the device's vertical resolution.
inline int devicePixelsPerInch(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device ? device->logicalDpiY() : 96;
}

}  // namespace pemo
