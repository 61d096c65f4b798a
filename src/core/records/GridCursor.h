#pragma once

#include <QRect>

namespace pemo {

// The record grid's selected cell, the corner the selection was started from, and how
// the keyboard moves them. Rows 0 … count − 1 are the records; row count is the empty
// row after the last, where typing makes a new record. Columns are the grid's display
// columns; 序号 (column 0) is never selected.
class GridCursor {
public:
    static constexpr int kFirstColumn = 1;   // 打印
    static constexpr int kLastColumn = 15;   // 折扣
    static constexpr int kStartColumn = 2;   // the first variable: where a product begins

    enum class Move {
        Left, Right, Up, Down,
        Tab, BackTab,      // along the row, wrapping to the next or previous row
        Enter, BackEnter,  // down or up; back to the column a run of Tabs started in
        Home, End,         // first or last column of the row
        PageUp, PageDown,  // by a page of rows
    };

    int row() const { return row_; }
    int column() const { return column_; }
    // The selected block of cells, corners inclusive (x = columns, y = rows).
    QRect selection() const;
    bool hasBlock() const { return anchorRow_ != row_ || anchorColumn_ != column_; }

    // Moves the cell; extend keeps the other corner of the selection where it is.
    // count is the number of records, page the rows one page moves.
    void move(Move how, int count, int page, bool extend = false);
    // Puts the cell at row and column (a click, the current record moving elsewhere);
    // out-of-range values are brought to the nearest cell.
    void place(int row, int column, int count, bool extend = false);
    // The row only, keeping the column (the current record moved).
    void placeRow(int row, int count) { place(row, column_, count); }
    // Selects the block from (row, column) over rows × columns cells.
    void selectBlock(int row, int column, int rows, int columns, int count);

private:
    void clamp(int count);

    int row_ = 0;
    int column_ = kStartColumn;
    int anchorRow_ = 0;
    int anchorColumn_ = kStartColumn;
    int tabStart_ = -1;  // the column the present run of Tabs started from, or -1
};

}  // namespace pemo
