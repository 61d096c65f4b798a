#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "CellTable.h"
#include "DelimitedText.h"

namespace pemo {

// One table of text cells read whole from a delimited text file or from one sheet of a
// workbook (.xls or .xlsx). Rows and columns count from 1. In a workbook, row 1 is the
// sheet's first row, its header; a text file's line 1 is row 1 like any other. Cells are
// GBK texts as the records keep them.
class TableSheet {
public:
    enum class Kind { Text, Xls, Xlsx };

    // Opens for reading: the whole table is read at once. separator splits a text file;
    // sheetName picks a workbook's sheet (the first when empty); a text file is read in
    // encoding, else in the one its bytes suggest. On failure totalRows is 0 and
    // message() says why.
    TableSheet(const QString& path, char separator, const QString& sheetName = QString(),
               std::optional<DelimitedText::Encoding> encoding = std::nullopt);
    // A table already read (tests, previews of bytes in memory).
    TableSheet(CellTable table, Kind kind);

    // The kind of file: by its first bytes (an OLE2 compound file is .xls, a ZIP archive
    // .xlsx) whatever its name, else by its suffix, else text.
    static Kind kindOf(const QString& path, const QByteArray& firstBytes);
    static bool isWorkbookPath(const QString& path);

    Kind kind() const { return kind_; }
    bool isWorkbook() const { return kind_ != Kind::Text; }
    int totalRows() const { return int(table_.rows.size()); }
    int totalColumns() const { return table_.columns; }
    // The encoding a text file was read in.
    DelimitedText::Encoding encoding() const { return encoding_; }
    // The workbook's sheet names, once it was opened.
    const QStringList& sheetNames() const { return sheetNames_; }

    // The cell at column and row (0 = the current row) into out. False, out empty, when
    // the column is 0, the row does not exist or has fewer fields.
    bool readCell(int column, int row, QByteArray& out);
    // The fields of a row (0 = the current row, which then advances).
    bool readRow(QList<QByteArray>& out, int row = 0);
    // The same without the cursor, for callers that walk the table themselves: empty for
    // a cell outside the table.
    const QByteArray& cell(int column, int row) const;

    // The last failure in the table's own terms ("Error in opening file\n" …).
    const QString& lastError() const { return lastError_; }
    // Why the table could not be read, as the program tells the user; empty when it was.
    const QString& message() const { return message_; }
    bool isRead() const { return message_.isEmpty(); }

private:
    void fail(const QString& error, const QString& message);

    Kind kind_ = Kind::Text;
    DelimitedText::Encoding encoding_ = DelimitedText::Encoding::Gbk;
    CellTable table_;
    QStringList sheetNames_;
    int currentRow_ = 1;
    QString lastError_;
    QString message_;
};

}  // namespace pemo
