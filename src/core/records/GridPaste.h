#pragma once

#include <QString>

#include "CellTable.h"

namespace pemo {

class CPatDoc;

// A block of cells pasted into the records from one cell of the grid on: block column k
// goes to the grid's display column column + k (图片 takes nothing, columns past 折扣
// are dropped), block row r to record row + r, records being appended where the list
// ends. The whole paste is taken back in one step.
class GridPaste {
public:
    GridPaste(CellTable cells, int row, int column);

    int rows() const { return int(cells_.rows.size()); }
    // Block columns that reach a grid column.
    int columns() const;

    // Why the block cannot be pasted (a copies cell that is no whole number from 0 to
    // 999, named by its place in the block), or empty.
    QString problem() const;
    // Filled value cells the paste would change.
    int overwrites(const CPatDoc& doc) const;

    // Stores the cells as one step of the document's list history ("粘贴", or "清除"
    // when every cell is empty): each changed record takes one undo snapshot inside it
    // and has the placeholders of its changed fields refreshed; new records come from
    // the document (the library's selected template) with all their placeholders
    // refreshed.
    void apply(CPatDoc& doc, bool templateMode);

private:
    const QByteArray* cell(int blockRow, int gridColumn) const;
    void store(CPatDoc& doc, bool templateMode);

    CellTable cells_;
    int row_ = 0;
    int column_ = 0;
};

}  // namespace pemo
