#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

namespace pemo {

// One grid of identical labels on a sheet: nx columns, ny rows, the first label's
// top-left corner at (x0, y0) and the next one dx to the right, dy below. Millimetres
// from the sheet's top-left corner.
struct LabelGrid {
    int columns = 1;
    int rows = 1;
    double x0 = 0;
    double y0 = 0;
    double dx = 0;
    double dy = 0;
};

// A sheet of ready-cut labels: a product of the catalogue, or a sheet the user measured.
// Every length is in millimetres.
struct LabelTemplate {
    enum class Shape { Rectangle, Round, Ellipse };

    QString brand;
    QString part;
    QString description;
    QString paperName;  // "A4", "US-Letter", … or "Other" for a sheet of its own size
    QSizeF paperMm;
    Shape shape = Shape::Rectangle;
    // The label's box; for a disc, its diameter both ways, or less where the disc is cut
    // straight on two sides (neighbours then stand closer than a diameter).
    QSizeF labelMm;
    double cornerMm = 0;  // a rectangle's corner radius
    double radiusMm = 0;  // a disc's radius (0: the largest disc in the box)
    double holeMm = 0;    // a disc label's centre hole, radius (0: none)
    std::vector<LabelGrid> grids;
    // The part whose sheet this one is ("equivalent to …"); empty for a product of its own.
    QString equivalentOf;

    // "BRAND PART", how products are named on the command line and in the list.
    QString name() const;
    bool isCustom() const { return brand.isEmpty(); }
    int labelsPerSheet() const;
    // Every label's box on the sheet, in the order labels are filled: row by row from
    // the top, left to right within a row, whatever grid a label belongs to.
    std::vector<QRectF> labelRects() const;
    // The label's outline when its box is at `box`: what a sign on it is clipped to.
    QPainterPath outline(const QRectF& box) const;
    double discRadiusMm() const;
    // A disc wider or higher than its box, cut straight where the box ends.
    bool isClippedDisc() const;
    // "63.5 × 38.1 毫米", "Ø 40 毫米".
    QString sizeText() const;

    // A sheet the user measured, as the command line and the settings write it:
    // "PAPER,ROWSxCOLS,WxH,LEFT,TOP,HPITCH,VPITCH[,CORNER]" in millimetres, PAPER being
    // A4, A3, A5, Letter or WxH. Nothing when the text is not such a sheet or its labels
    // do not lie on the paper.
    static std::optional<LabelTemplate> fromCustomText(const QString& text);
    QString customText() const;
    // The paper names customText() knows, with their sizes.
    static std::optional<QSizeF> standardPaper(const QString& name);
};

}  // namespace pemo
