#pragma once

#include <QLineF>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <vector>

namespace pemo {

class InfoRecord;

// One sign (or the part of it a tile shows) placed on a sheet. Lengths are millimetres
// from the top-left corner of the sheet's printable area.
struct SignPlacement {
    const InfoRecord* record = nullptr;
    // The whole sign as it lies on the sheet (for a turned sign, its turned extent); a
    // tile's sign reaches beyond the sheet.
    QRectF rect;
    double scale = 1.0;  // sheet millimetres per sign millimetre
    bool turned = false; // a quarter turn clockwise: the sign's top runs down the right edge
    QRectF visible;      // the part of the sheet the sign may paint
    QPainterPath shape;  // when not empty, the sign paints only inside it as well (a label)
    bool withBackground = true;
    bool templateMode = false;
};

// A small text on the sheet, on a white ground: which tile of which sign a sheet is.
struct SheetLabel {
    QRectF box;  // millimetres, like everything here
    QString text;
};

// Everything one printed page shows.
struct SheetLayout {
    std::vector<SignPlacement> signs;
    // Thin guide lines: proof frames, merge cutting marks, tile overlap marks.
    std::vector<QLineF> marks;
    std::vector<SheetLabel> labels;
    // Outlines drawn like the marks: the labels of a label sheet, for test prints.
    std::vector<QPainterPath> outlines;
};

}  // namespace pemo
