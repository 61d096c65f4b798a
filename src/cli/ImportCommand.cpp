#include "ImportCommand.h"

#include "HeadlessCommands.h"

#include "core/codecs/Archive.h"
#include "core/document/CPatDoc.h"
#include "core/document/TemplateFile.h"
#include "core/platform/FileError.h"
#include "core/platform/SourceFile.h"
#include "core/records/DatabaseImport.h"
#include "core/records/DatabaseSource.h"
#include "core/records/ImportSettings.h"
#include "core/records/OdbcConnection.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

namespace {

// The mapping for DATA: the one given, the one the import dialog saved for that kind
// of file, or columns 1 to 13.
RecordImport::Columns columnsFor(const ImportSource& source, TableSheet::Kind kind) {
    if (source.columns) return *source.columns;
    const ImportSettings::Kind settingsKind = kind == TableSheet::Kind::Text
                                                  ? ImportSettings::Kind::Text
                                                  : ImportSettings::Kind::Workbook;
    const ImportSettings saved = ImportSettings::load(settingsKind);
    bool any = false;
    for (int32_t column : saved.columns) any = any || column != 0;
    if (any) return saved.columns;
    RecordImport::Columns columns{};
    for (int i = 0; i < ImportSettings::kTargetCount; ++i) columns[size_t(i)] = i + 1;
    return columns;
}

// Puts the records made from the rows of sheet in place of the document's, each on the
// template's page when one is given.
void build(CPatDoc& doc, const QString& templatePath, const TableSheet& sheet,
           const RecordImport::Columns& columns, int firstRow) {
    if (!templatePath.isEmpty()) {
        doc.newRecordInitializer = [&doc, path = templatePath](InfoRecord& record) {
            TemplateFile::apply(path, record, doc);
        };
    }
    RecordImport import(doc, columns);
    const bool built = import.build(sheet, firstRow, false);
    doc.newRecordInitializer = nullptr;
    if (!built) throw FormatError(import.message());
    import.apply(false);
}

// The selection for a database file: the fields named, the columns numbered, or the
// table's first thirteen columns in order.
DatabaseSelection databaseSelection(const ImportSource& source) {
    DatabaseSelection selection;
    selection.path = source.data;
    selection.table = source.table;
    selection.condition = source.condition;
    if (source.fieldNames) {
        for (size_t k = 0; k < selection.fields.size(); ++k) {
            selection.fields[k] = source.fieldNames->at(qsizetype(k)).trimmed();
        }
        return selection;
    }
    std::vector<DatabaseColumn> columns;
    QString message;
    if (!DatabaseSource::columns(source.data, source.table, columns, message)) throw FormatError(message);
    for (size_t k = 0; k < selection.fields.size(); ++k) {
        // Column numbers count the table's columns from 1; a number past them maps nothing.
        const size_t column = source.columns ? size_t(source.columns->at(k)) : k + 1;
        if (column >= 1 && column <= columns.size()) selection.fields[k] = columns[column - 1].name;
    }
    return selection;
}

// Reads the rows of a database table that meet the condition, one column per target.
ImportTable readDatabase(const CPatDoc& doc, const ImportSource& source) {
    if (source.table.isEmpty()) throw FormatError(QString::fromUtf8("表名不能为空。"));
    const DatabaseSelection selection = databaseSelection(source);
    const QString problem = DatabaseImport::check(selection, doc.variableNames);
    if (!problem.isEmpty()) throw FormatError(problem);
    CellTable cells;
    QString message;
    if (!DatabaseImport::read(selection, cells, message)) throw FormatError(message);
    if (cells.rows.empty()) throw FormatError(DatabaseImport::noMatchMessage());
    return {TableSheet(std::move(cells), TableSheet::Kind::Text), DatabaseImport::columns(selection), 1};
}

}  // namespace

ImportTable readImportTable(const CPatDoc& doc, const ImportSource& source) {
    // A FIFO or a device is refused before anything waits on it or reads without end.
    const QString unreadable = SourceFile::problem(source.data);
    if (!unreadable.isEmpty()) throw IoError(unreadable);
    const QByteArray head = SourceFile::head(source.data, 32);
    if (!source.table.isEmpty() || OdbcConnection::driverFor(head) != OdbcConnection::Driver::None) {
        return readDatabase(doc, source);
    }
    if (source.fieldNames) {
        throw FormatError(QStringLiteral("bad --columns: ") + source.fieldNames->join(QLatin1Char(',')));
    }
    const TableSheet::Kind kind = TableSheet::kindOf(source.data, head.left(8));
    const RecordImport::Columns columns = columnsFor(source, kind);
    // The dialog's checks of the mapping; the sheet is optional here (the text form).
    ImportSettings check(ImportSettings::Kind::Text);
    check.columns = columns;
    const QString problem = check.check(source.data, doc.variableNames);
    if (!problem.isEmpty()) throw FormatError(problem);

    TableSheet sheet(source.data, source.separator, source.sheet);
    const int firstRow = sheet.isWorkbook() || source.header ? 2 : 1;
    return {std::move(sheet), columns, firstRow};
}

int runImportCommand(const ImportRequest& request) {
    return runExport(request.output, [&request](CPatDoc& doc, const QString&) {
        const ImportTable table = readImportTable(doc, request.source);
        build(doc, request.templatePath, table.sheet, table.columns, table.firstRow);
    });
}

}  // namespace pemo
