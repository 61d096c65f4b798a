#pragma once

#include <cstdint>

namespace pemo {

// One grip shown on a selected block, in page twips.
struct BlockHandle {
    // Resize grips -11 … -18, a shape point grip, the rotation grip.
    enum Id : int32_t {
        TopLeft = -11,
        MiddleLeft = -12,
        BottomLeft = -13,
        MiddleTop = -14,
        MiddleBottom = -15,
        TopRight = -16,
        MiddleRight = -17,
        BottomRight = -18,
        Point = -2,
        Rotation = -3,
    };

    int32_t id = 0;
    int32_t index = -1;  // a point grip's position in the point list; -1 otherwise
    int32_t x = 0;
    int32_t y = 0;

    static bool isResizeGrip(int32_t id) { return id >= BottomRight && id <= TopLeft; }
};

}  // namespace pemo
