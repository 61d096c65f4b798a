#pragma once

#include <QString>
#include <vector>

#include "DatabaseTable.h"
#include "core/platform/ChildRun.h"

namespace pemo {

struct DatabaseSelection;

// Reads a table of a database file through ODBC: its columns, or the rows of the columns
// an import needs. The Access driver can loop and grow without end on a damaged file, so
// files that need it are read in a child process with a time and memory limit
// (ChildRun); SQLite files are read here.
class DatabaseSource {
public:
    // Every column of the table, in catalogue order; false with message when the file
    // or the table cannot be read.
    static bool columns(const QString& path, const QString& table, std::vector<DatabaseColumn>& out,
                        QString& message, const ChildRun::Limits& limits = ChildRun::Limits());
    // The rows of the columns the selection maps or its condition names, binary columns
    // (pictures, OLE objects) left out, in the table's order. False with message when the
    // file, the table or a mapped field cannot be read.
    static bool rows(const DatabaseSelection& selection, DatabaseTable& out, QString& message,
                     const ChildRun::Limits& limits = ChildRun::Limits());
    // The columns of all that the selection needs (see rows()).
    static std::vector<DatabaseColumn> needed(const DatabaseSelection& selection,
                                              const std::vector<DatabaseColumn>& all);

    // "文件“%1”读取超时或所需内存超出限制，无法导入。"
    static QString overLimitsMessage(const QString& path);
};

}  // namespace pemo
