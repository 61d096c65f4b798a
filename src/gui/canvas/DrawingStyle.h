#pragma once

#include <cstdint>

namespace pemo {

// The style new shapes take. Colours are 0x00BBGGRR.
struct DrawingStyle {
    int32_t penWidth = 1;
    int32_t penStyle = 0;
    int32_t fillType = 1001;
    uint32_t penColour = 0xFF0000;
    uint32_t fillColour = 0x00FFFF;
    uint32_t shadowColour = 0xC0C0C0;
    int32_t shadowDirection = 0;
    int32_t shadowDistance = 2;
};

}  // namespace pemo
