#include "GridGeometry.h"

#include <algorithm>

#include "core/config/VariableNameList.h"

namespace pemo {

GridGeometry::GridGeometry(const VariableNameList& names) {
    const auto add = [this](uint32_t id, const QByteArray& caption, int width, double share) {
        columns_.push_back({id, caption, width, share, 0});
    };
    add(kIndexField, QByteArray("\xd0\xf2\xba\xc5"), 40, 0);   // 序号
    add(kCopiesField, QByteArray("\xb4\xf2\xd3\xa1"), 40, 0);  // 打印
    for (uint32_t k = 0; k < 10; ++k)
        add(kFirstVariableField + k, QByteArray(), 40, 0.1);
    add(kPictureField, QByteArray("\xcd\xbc\xc6\xac"), 40, 0);        // 图片
    add(kOriginalPriceField, QByteArray("\xd4\xad\xbc\xdb"), 50, 0);  // 原价
    add(kCurrentPriceField, QByteArray("\xcf\xd6\xbc\xdb"), 50, 0);   // 现价
    add(kDiscountField, QByteArray("\xd5\xdb\xbf\xdb"), 40, 0);       // 折扣
    renameVariableColumns(names);
}

void GridGeometry::renameVariableColumns(const VariableNameList& names) {
    for (int k = 0; k < 10; ++k) {
        columns_[static_cast<size_t>(kFirstVariableColumn + k)].caption = names.name(k);
    }
}

int GridGeometry::valueIndexOfColumn(int column) {
    if (column >= kFirstVariableColumn && column < kFirstVariableColumn + 10)
        return column - kFirstVariableColumn;
    if (column > kPictureColumn && column < kColumnCount)
        return 10 + column - kPictureColumn - 1;
    return -1;
}

uint32_t GridGeometry::fieldIdOfValue(int value) {
    return value < 10 ? kFirstVariableField + uint32_t(value)
                      : kOriginalPriceField + uint32_t(value - 10);
}

int GridGeometry::valueIndexOfField(uint32_t fieldId) {
    if (fieldId >= kFirstVariableField && fieldId < kFirstVariableField + 10)
        return static_cast<int>(fieldId - kFirstVariableField);
    if (fieldId >= kOriginalPriceField && fieldId <= kDiscountField)
        return 10 + static_cast<int>(fieldId - kOriginalPriceField);
    return -1;
}

int GridGeometry::fixedWidth() const {
    int fixed = 4;
    for (const GridColumn& c : columns_) {
        if (c.share == 0)
            fixed += c.width;
    }
    return fixed;
}

void GridGeometry::resize(int width, int height) {
    width_ = width;
    height_ = height;
    // A grid narrower than its fixed columns gives the shared columns no room at all.
    const int free = std::max(0, width - fixedWidth());
    int x = kTableLeft;
    for (GridColumn& c : columns_) {
        c.left = x;
        if (c.share != 0)
            c.width = static_cast<int>(free * c.share);
        x += c.width;
    }
}

int GridGeometry::rowsThatFit() const {
    return std::max(0, (height_ - 28) / kRowHeight);
}

int GridGeometry::visibleRowCount() const {
    return std::max(1, rowsThatFit());
}

int GridGeometry::scrollMaximum(int count, int rows) {
    return std::max(0, count - rows);
}

bool GridGeometry::isInView(int index, int scroll, int rows) {
    return scroll <= index && index + 1 < scroll + rows;
}

int GridGeometry::centredScroll(int index, int count, int rows) {
    return std::max(0, std::min(count - rows, std::max(0, index - rows / 2)));
}

int GridGeometry::recordAt(QPoint p, int scroll, int count) const {
    if (p.x() < kTableLeft || p.x() > width_ - 2 || p.y() < kFirstRowTop)
        return -1;
    const int record = scroll + (p.y() - kFirstRowTop) / kRowHeight;
    return record < count ? record : -1;
}

int GridGeometry::editableColumnAt(int x) const {
    // Display order is the test order once 序号 is left out.
    for (int i = 1; i < kColumnCount; ++i) {
        const GridColumn& c = columns_[static_cast<size_t>(i)];
        if (x >= c.left && x <= c.left + c.width)
            return i;
    }
    return -1;
}

QRect GridGeometry::cellRect(int record, int column, int scroll) const {
    const GridColumn& c = columns_[static_cast<size_t>(column)];
    const int top = rowTop(record - scroll);
    return QRect(QPoint(c.left, top), QPoint(c.left + c.width, top + kRowHeight - 1));
}

QPoint GridGeometry::popupPosition(const QRect& cell, QSize popup, QSize screen) {
    int x = cell.left();
    if (cell.left() + popup.width() >= screen.width())
        x = cell.right() - popup.width();
    int y = cell.top();
    if (cell.top() + popup.height() + 20 >= screen.height())
        y = cell.bottom() - popup.height();
    return QPoint(x, y);
}

}  // namespace pemo
