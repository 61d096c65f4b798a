#pragma once

#include "CommandRequests.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

class CPatDoc;

// pemo --import DATA [--sheet NAME] [--separator C] [--columns LIST] [--header]
//      [--template T.vxt] --export OUT [the options of that --export form]
// Builds a document with one record per row of DATA (a delimited text file, .xls or
// .xlsx, or a table of a database file), each on the template's page when one is given,
// and writes OUT as --export does. LIST: thirteen column numbers (0 = none) in target
// order; without it the mapping the import dialog saved for that kind of file, else
// columns 1 to 13. Exit status 0, or 1 with the reason on stderr.
int runImportCommand(const ImportRequest& request);

// DATA read whole, with the mapping of its columns onto the thirteen targets and the
// first row that holds data.
struct ImportTable {
    TableSheet sheet;
    RecordImport::Columns columns;
    int firstRow = 1;
};
// Throws FormatError when DATA, its mapping or its condition is refused.
ImportTable readImportTable(const CPatDoc& doc, const ImportSource& source);

}  // namespace pemo
