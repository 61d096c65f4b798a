#pragma once

#include <QStringList>
#include <optional>

#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

// pemo --import DATA [--sheet NAME] [--separator C] [--columns LIST] [--header]
//      [--template T.vxt] --export OUT [the options of that --export form]
// Builds a document with one record per row of DATA (a delimited text file, .xls or
// .xlsx), each on the template's page when one is given, and writes OUT as --export
// does. LIST: thirteen column numbers (0 = none) in target order, separated by commas;
// without it the mapping the import dialog saved for that kind of file, else columns
// 1 to 13. --header skips a text file's first line (a workbook's first row is always
// its header). The separator is one character or "tab" (default ","); the sheet
// defaults to the workbook's first. Options before --export are the import's, those
// after it the export's. Exit status 0, 1 with the reason on stderr, 2 for usage.
int runImportCommand(const QStringList& arguments);

class CPatDoc;

// The import's options: DATA and how it is read, the template, and the export's own
// arguments after --export.
struct ImportRequest {
    QString data;
    QString sheet;
    char separator = ',';
    std::optional<RecordImport::Columns> columns;
    QString table;      // database files
    QString condition;  // database files
    std::optional<QStringList> fieldNames;
    bool header = false;
    QString templatePath;
    QStringList exportArguments;  // after --export
};

// Reads "program --import DATA [options] --export OUT …" into request; the problem, empty
// when the arguments are good.
QString parseImportArguments(const QStringList& arguments, ImportRequest& request);

// DATA read whole, with the mapping of its columns onto the thirteen targets and the
// first row that holds data.
struct ImportTable {
    TableSheet sheet;
    RecordImport::Columns columns;
    int firstRow = 1;
};
// Throws FormatError when DATA, its mapping or its condition is refused.
ImportTable readImportTable(const CPatDoc& doc, const ImportRequest& request);

}  // namespace pemo
