#pragma once

#include <QPointF>
#include <QSize>
#include <memory>

#include "core/labels/LabelTemplate.h"

namespace pemo {

// What a print job is prepared from besides the document.
struct PrintSettings {
    int mode = 11;  // a PrintMode code
    // The printable area of the sheet in whole millimetres; the painter a page is drawn
    // on has its origin at this area's top-left corner.
    QSize sheetMm = QSize(200, 287);
    int tileOverlapMm = 10;   // 拼版重叠
    int mergeSpacingMm = 10;  // 合并间距
    // Tiling may turn a sign a quarter (the sheet turned under it) when that takes fewer
    // sheets. Off, every sign is tiled upright: cols × rows as the sign stands.
    bool turnTiles = false;

    // Label sheets (标签纸): the sheet, the 1-based number of the first free label on the
    // first sheet, and whether every label's outline is drawn (test prints on plain paper).
    std::shared_ptr<const LabelTemplate> labelSheet;
    int startLabel = 1;
    bool labelOutlines = false;
    // Where the printable area's top-left corner lies on the sheet, millimetres: label
    // sheets are measured from the sheet's own corner.
    QPointF areaOriginMm;
};

}  // namespace pemo
