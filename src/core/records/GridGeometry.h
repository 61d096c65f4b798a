#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

#include "GridColumn.h"

namespace pemo {

class VariableNameList;

// The record grid's arithmetic, without widgets: the sixteen columns and their layout,
// the rows that fit, scrolling, hit-testing and where a cell's popup goes. All values
// are pixels of the grid's client area unless said otherwise.
class GridGeometry {
public:
    static constexpr uint32_t kIndexField = 0x80000001;   // 序号
    static constexpr uint32_t kCopiesField = 0x80000002;  // 打印
    static constexpr uint32_t kFirstVariableField = 0x02020001;
    static constexpr uint32_t kPictureField = 0x04040001;
    static constexpr uint32_t kOriginalPriceField = 0x02040001;
    static constexpr uint32_t kCurrentPriceField = 0x02040002;
    static constexpr uint32_t kDiscountField = 0x02040003;

    static constexpr int kHeaderTop = 2;
    static constexpr int kHeaderBottom = 26;
    static constexpr int kFirstRowTop = 27;
    static constexpr int kRowHeight = 20;
    static constexpr int kTableLeft = 2;
    static constexpr int kColumnCount = 16;
    static constexpr int kFirstVariableColumn = 2;
    static constexpr int kCopiesColumn = 1;
    static constexpr int kPictureColumn = 12;

    // The record value a display column shows (0 … 12), or -1 for 序号, 打印 and 图片.
    static int valueIndexOfColumn(int column);
    // The placeholder kind of a value: variables 0x02020001 …, prices 0x02040001 ….
    static uint32_t fieldIdOfValue(int value);
    // The record value a column's field shows (0 … 12), or -1 for any other field.
    static int valueIndexOfField(uint32_t fieldId);

    explicit GridGeometry(const VariableNameList& names);

    // Captions of the ten variable columns from the names.
    void renameVariableColumns(const VariableNameList& names);
    // Lays the columns out for a client area of this size.
    void resize(int width, int height);

    const std::vector<GridColumn>& columns() const { return columns_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // 4 plus the widths of the fixed columns (264 with the standard columns).
    int fixedWidth() const;
    // x of the table's right border.
    int rightBorder() const { return width_ - 4; }

    // Whole rows that fit under the header; 0 when none does.
    int rowsThatFit() const;
    // The same, but at least 1 (the group step of 前一组/下一组).
    int visibleRowCount() const;
    // Top of the row shown at this position from the scroll position (0 = first row).
    static int rowTop(int row) { return kFirstRowTop + kRowHeight * row; }

    // The largest scroll position for count records.
    static int scrollMaximum(int count, int rows);
    // A record counts as in view only when it is above the last visible row.
    static bool isInView(int index, int scroll, int rows);
    // The scroll position that centres the record.
    static int centredScroll(int index, int count, int rows);

    // The record under the point, or -1 (header, beside the table, below the last record).
    int recordAt(QPoint p, int scroll, int count) const;
    // The editable column under x, tested 打印, variables, 图片, prices; -1 for 序号 or
    // outside. Adjacent columns share their edge; the one tested first takes it.
    int editableColumnAt(int x) const;
    // The rectangle a popup for this cell is placed against (right and bottom inclusive).
    QRect cellRect(int record, int column, int scroll) const;

    // The popup's top-left: at the cell's top-left unless that runs off the screen.
    static QPoint popupPosition(const QRect& cell, QSize popup, QSize screen);

private:
    std::vector<GridColumn> columns_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace pemo
