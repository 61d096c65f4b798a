#include "GridCursor.h"

#include <algorithm>

namespace pemo {

QRect GridCursor::selection() const {
    return QRect(QPoint(std::min(column_, anchorColumn_), std::min(row_, anchorRow_)),
                 QPoint(std::max(column_, anchorColumn_), std::max(row_, anchorRow_)));
}

void GridCursor::clamp(int count) {
    const int lastRow = std::max(0, count);
    row_ = std::clamp(row_, 0, lastRow);
    column_ = std::clamp(column_, kFirstColumn, kLastColumn);
    anchorRow_ = std::clamp(anchorRow_, 0, lastRow);
    anchorColumn_ = std::clamp(anchorColumn_, kFirstColumn, kLastColumn);
}

void GridCursor::move(Move how, int count, int page, bool extend) {
    page = std::max(1, page);
    const bool tabbing = how == Move::Tab || how == Move::BackTab;
    if (tabbing && tabStart_ < 0) tabStart_ = column_;
    switch (how) {
        case Move::Left: --column_; break;
        case Move::Right: ++column_; break;
        case Move::Up: --row_; break;
        case Move::Down: ++row_; break;
        case Move::Home: column_ = kFirstColumn; break;
        case Move::End: column_ = kLastColumn; break;
        case Move::PageUp: row_ -= page; break;
        case Move::PageDown: row_ += page; break;
        case Move::Tab:
            if (column_ < kLastColumn) {
                ++column_;
            } else if (row_ < count) {
                ++row_;
                column_ = kFirstColumn;
                tabStart_ = -1;
            }
            break;
        case Move::BackTab:
            if (column_ > kFirstColumn) {
                --column_;
            } else if (row_ > 0) {
                --row_;
                column_ = kLastColumn;
                tabStart_ = -1;
            }
            break;
        case Move::Enter:
        case Move::BackEnter:
            row_ += how == Move::Enter ? 1 : -1;
            if (tabStart_ >= 0) column_ = tabStart_;
            break;
    }
    if (!tabbing) tabStart_ = -1;
    clamp(count);
    if (!extend) {
        anchorRow_ = row_;
        anchorColumn_ = column_;
    }
}

void GridCursor::place(int row, int column, int count, bool extend) {
    row_ = row;
    column_ = column;
    tabStart_ = -1;
    if (!extend) {
        anchorRow_ = row;
        anchorColumn_ = column;
    }
    clamp(count);
}

void GridCursor::selectBlock(int row, int column, int rows, int columns, int count) {
    place(row, column, count);
    place(row + std::max(1, rows) - 1, column + std::max(1, columns) - 1, count, true);
    // The cell stays at the block's first corner, where typing goes on.
    std::swap(row_, anchorRow_);
    std::swap(column_, anchorColumn_);
}

}  // namespace pemo
