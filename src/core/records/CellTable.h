#pragma once

#include <QByteArray>
#include <vector>

namespace pemo {

// A table of text cells (GBK) as a reader found it: rows in file order, each row as
// long as its last field. Rows and columns count from 0 here; TableSheet numbers them
// from 1.
struct CellTable {
    std::vector<std::vector<QByteArray>> rows;
    int columns = 0;  // the largest number of fields in any row

    // Puts a cell, growing the table as needed.
    void set(int row, int column, QByteArray text) {
        if (rows.size() <= size_t(row)) rows.resize(size_t(row) + 1);
        std::vector<QByteArray>& cells = rows[size_t(row)];
        if (cells.size() <= size_t(column)) cells.resize(size_t(column) + 1);
        cells[size_t(column)] = std::move(text);
        if (column + 1 > columns) columns = column + 1;
    }
};

}  // namespace pemo
