#pragma once

#include <QByteArray>
#include <cstdint>

namespace pemo {

// One column of the record grid, in display order.
struct GridColumn {
    uint32_t fieldId = 0;  // the bound-block kind it shows, or one of the two grid-only ids
    QByteArray caption;    // GBK
    int width = 0;         // pixels; a fixed column keeps its initial width
    double share = 0;      // 0 for a fixed column, else its fraction of the free width
    int left = 0;          // x of its left edge in the grid's client area
};

}  // namespace pemo
