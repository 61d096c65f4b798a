#pragma once

#include <QString>
#include <vector>

#include "CellTable.h"

namespace pemo {

class CPatDoc;
class InfoRecord;

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

    // Stores the cells: each changed record takes one undo snapshot and has the
    // placeholders of its changed fields refreshed; new records come from the document
    // (the library's selected template) with all their placeholders refreshed.
    void apply(CPatDoc& doc, bool templateMode);

    // Nothing has happened since to the records the paste changed or made.
    bool canUndo(const CPatDoc& doc) const;
    // Gives the changed records their earlier state and removes the records it made.
    void undo(CPatDoc& doc);
    // The paste changed or made this record.
    bool touches(const InfoRecord* record) const;

    // After undo: nothing has happened since to the records it gave back, nor to the
    // record then current, and the list has as many records. apply then puts the
    // paste back.
    bool canRedo(const CPatDoc& doc) const;
    // The record was given back by the undo, or was the current one after it.
    bool touchedBeforeUndo(const InfoRecord* record) const;

    // Where the block's top-left cell went: a record row and a grid column.
    int row() const { return row_; }
    int column() const { return column_; }

private:
    struct Touched {
        InfoRecord* record = nullptr;
        int oldCopies = 0;
        bool snapshot = false;
        unsigned generation = 0;
    };
    const QByteArray* cell(int blockRow, int gridColumn) const;

    CellTable cells_;
    int row_ = 0;
    int column_ = 0;
    std::vector<Touched> touched_;  // the records changed or made, made ones last
    std::vector<Touched> undone_;   // after undo: the records given back, the current one
    int countAfterUndo_ = -1;
    int created_ = 0;
    InfoRecord* oldCurrent_ = nullptr;
};

}  // namespace pemo
