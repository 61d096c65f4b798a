#pragma once

#include <cstdint>

namespace pemo {

// The colour picker's hue (0–239), saturation (0–240) and luminance (0–240) model.
struct Hsl {
    int hue = 0;
    int saturation = 0;
    int luminance = 0;

    bool operator==(const Hsl&) const = default;
};

// A grey keeps currentHue.
Hsl hslFromRgb(int red, int green, int blue, int currentHue);

// The colour as 0x00BBGGRR, each channel clamped to 0 … 255.
uint32_t rgbFromHsl(int hue, int saturation, int luminance);

}  // namespace pemo
