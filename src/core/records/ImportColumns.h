#pragma once

#include <QString>
#include <QStringList>

#include "ImportSettings.h"

namespace pemo {

class TableSheet;
class VariableNameList;

// What the columns of a table to import hold, as the import dialog shows them: whether
// the first row names the columns rather than holding a product, and a label per column.
class ImportColumns {
public:
    // How much of a cell a label quotes, in GBK bytes.
    static constexpr int kLabelBytes = 16;

    // True when row 1 does not look like a product: no number in any price column (the
    // columns mapped to 原价, 现价 or 折扣, or every column when none is mapped in the
    // table) while a later row has one there, or a cell of row 1 names a target. A table
    // without any number and without a header word, or an empty one, has no header.
    static bool firstRowIsHeader(const TableSheet& sheet, const ImportSettings::Columns& columns,
                                 const VariableNameList& names);
    // The cells of row 1, column 1 first.
    static QStringList firstRow(const TableSheet& sheet);

    // "列3：产地": the column's number and its first non-empty cell (the header, or the
    // first value), cut to kLabelBytes; "列3" for a column without any.
    static QString label(const TableSheet& sheet, int column);
    // The labels of columns 1 … count (a count above the table's columns gives bare
    // "列N" labels for the rest).
    static QStringList labels(const TableSheet& sheet, int count);
    // The label of a column of no table yet: "列N".
    static QString bareLabel(int column);
};

}  // namespace pemo
