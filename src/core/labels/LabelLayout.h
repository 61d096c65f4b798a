#pragma once

#include <QRectF>
#include <QSizeF>

namespace pemo {

// How a run of items fills label sheets: the first sheet from the start label on (the
// labels before it are used already), every later sheet whole. Labels are counted in
// fill order (LabelTemplate::labelRects), slots and pages from 0.
class LabelLayout {
public:
    // perSheet ≥ 1; start is the 1-based number of the first free label, clamped into
    // 1 … perSheet.
    LabelLayout(int perSheet, int start);

    int perSheet() const { return perSheet_; }
    int start() const { return start_; }
    // Sheets needed for `items` items (0 for none).
    long long pageCount(long long items) const;
    // The item (0-based) printed on label `slot` of sheet `page`; -1 for a used label
    // of the first sheet.
    long long itemAt(int page, int slot) const;

    // Where a sign of signMm lands on a label whose box is `box`: at its own size when
    // it is the label's size (within a quarter millimetre), else scaled to fit the box
    // with its proportions kept; centred either way. scale: label millimetres per sign
    // millimetre.
    static QRectF fit(QSizeF signMm, const QRectF& box, double* scale);

private:
    int perSheet_;
    int start_;
};

}  // namespace pemo
