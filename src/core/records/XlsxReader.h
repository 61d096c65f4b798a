#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "CellTable.h"

namespace pemo {

// Office Open XML workbooks (.xlsx): a ZIP archive of XML parts, read with minizip and
// QXmlStreamReader. Row 0 of the table is the sheet's row 1; cells keep their places
// (a sparse sheet leaves empty cells between). Shared and inline strings, numbers
// formatted as the cell shows them, booleans as TRUE and FALSE, date-formatted numbers
// as yyyy-mm-dd. Columns after the 256th (IV) are not read.
class XlsxReader {
public:
    static constexpr int kMaxColumns = 256;
    static constexpr int kMaxRows = 1048576;

    // Reads the sheet called sheetName (the first sheet when empty) from the file's
    // bytes. Throws FormatError with the text to show, as XlsReader does.
    static CellTable read(const QByteArray& bytes, const QString& sheetName,
                          QStringList* sheetNames = nullptr);
};

}  // namespace pemo
