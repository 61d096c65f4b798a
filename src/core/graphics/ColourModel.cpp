#include "ColourModel.h"

#include <algorithm>

namespace pemo {

Hsl hslFromRgb(int red, int green, int blue, int currentHue) {
    Hsl out;
    if (red == green && green == blue) {
        out.hue = currentHue;
        out.luminance = red * 240 / 255;
        return out;
    }
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    const double d = (max + min) * 0.5;
    out.luminance = std::min(240, int(d * 0.9411764705882353));
    const double s = out.luminance < 120 ? (d - min) * 240 / d : (d - min) * 240 / (255 - d);
    out.saturation = std::clamp(int(s), 0, 240);
    int base = 0;
    int diff = 0;
    if (red >= green && red >= blue) {
        if (blue <= green) {
            diff = green - min;
        } else {
            base = 200;
            diff = max - blue;
        }
    } else if (blue >= green) {
        if (red <= green) {
            base = 120;
            diff = max - green;
        } else {
            base = 160;
            diff = red - min;
        }
    } else if (red <= blue) {
        base = 80;
        diff = blue - red;
    } else {
        base = 40;
        diff = max - red;
    }
    out.hue = std::min(239, base + diff * 40 / (max - min));
    return out;
}

uint32_t rgbFromHsl(int hue, int saturation, int luminance) {
    const double c = luminance * 1.0625;
    const double x = luminance < 120 ? saturation * c : (255 - c) * saturation;
    const int m1 = int(c - x * 0.004166666666666667);
    const int m2 = int(2 * c) - m1;
    const int f = hue % 40;
    const int t = int((m2 - m1) * f * 0.025 + 0.5);
    const int u = int(m2 - (m2 - m1) * f * 0.025 + 0.5);
    int r = m2, g = m2, b = m2;
    switch (hue / 40) {
        case 0: r = m2; g = m1 + t; b = m1; break;
        case 1: r = u; g = m2; b = m1; break;
        case 2: r = m1; g = m2; b = m1 + t; break;
        case 3: r = m1; g = u; b = m2; break;
        case 4: r = m1 + t; g = m1; b = m2; break;
        case 5: r = m2; g = m1; b = u; break;
        default: break;
    }
    const auto clamp = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return clamp(r) | clamp(g) << 8 | clamp(b) << 16;
}

}  // namespace pemo
