#pragma once

#include <QString>
#include <QStringList>

#include "CellTable.h"

namespace pemo {

// Old workbooks (.xls, BIFF in an OLE2 compound file) read through libfreexl. Row 0 of
// the table is the sheet's first row; numbers come formatted as the cell shows them and
// dates as yyyy-mm-dd. The library runs in a child process (see ChildRun).
class XlsReader {
public:
    // Reads the sheet called sheetName (the first sheet when empty). Throws FormatError
    // with the text to show when the file is no readable workbook, the sheet is missing
    // or a cell holds a character GBK cannot hold. sheetNames, when given, receives the
    // workbook's sheet names also when the sheet is missing.
    static CellTable read(const QString& path, const QString& sheetName,
                          QStringList* sheetNames = nullptr);
};

}  // namespace pemo
