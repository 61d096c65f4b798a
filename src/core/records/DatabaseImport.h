#pragma once

#include <QString>
#include <array>

#include "CellTable.h"
#include "DatabaseQuery.h"
#include "ImportSettings.h"
#include "RecordImport.h"

namespace pemo {

class VariableNameList;

// What the database import reads: one table of a file, a column name for each of the
// thirteen targets (empty = "空"), and a condition.
struct DatabaseSelection {
    QString path;
    QString table;
    std::array<QString, ImportSettings::kTargetCount> fields;
    QString condition;
};

// Reads the rows of a database table that meet the condition into a table of GBK cells,
// one column per target in target order, ready for RecordImport. Everything is read
// before anything is handed on, so a failure leaves the caller's records alone.
class DatabaseImport {
public:
    // The dialog's checks, in order; the message of the first that fails, else empty.
    static QString check(const DatabaseSelection& selection, const VariableNameList& names);
    // Column k + 1 for every mapped target k, 0 for the others.
    static RecordImport::Columns columns(const DatabaseSelection& selection);
    // The matching rows; false with message when the file, the table, a field or the
    // condition is wrong, the condition runs over the limits, or a text cannot be held
    // in GBK; false with an empty message when cancelled. Zero matching rows is true.
    static bool read(const DatabaseSelection& selection, CellTable& out, QString& message,
                     const DatabaseQuery::Limits& limits = DatabaseQuery::Limits());

    // "没有符合条件的数据。"
    static QString noMatchMessage();
};

}  // namespace pemo
