#include "ImportCommand.h"

#include <algorithm>

#include "CommandLine.h"
#include "ExitStatus.h"
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

std::optional<RecordImport::Columns> parseColumns(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != ImportSettings::kTargetCount) return std::nullopt;
    RecordImport::Columns columns{};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const int value = parts.at(i).trimmed().toInt(&ok);
        if (!ok || value < 0 || value > ImportSettings::kMaxColumn) return std::nullopt;
        columns[size_t(i)] = value;
    }
    return columns;
}

}  // namespace

QString parseImportArguments(const QStringList& arguments, ImportRequest& request) {
    if (arguments.size() < 3 || arguments.at(2).startsWith(QLatin1String("--"))) {
        return QStringLiteral("need DATA after --import");
    }
    request.data = arguments.at(2);
    int i = 3;
    for (; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--export")) break;
        if (a == QLatin1String("--header")) {
            request.header = true;
        } else if (a == QLatin1String("--sheet") && hasValue) {
            request.sheet = arguments.at(++i);
        } else if (a == QLatin1String("--template") && hasValue) {
            request.templatePath = arguments.at(++i);
        } else if (a == QLatin1String("--separator") && hasValue) {
            const std::optional<char> separator = parseSeparatorOption(arguments.at(++i));
            if (!separator) return QStringLiteral("bad --separator: ") + arguments.at(i);
            request.separator = *separator;
        } else if (a == QLatin1String("--table") && hasValue) {
            request.table = arguments.at(++i);
        } else if (a == QLatin1String("--where") && hasValue) {
            request.condition = arguments.at(++i);
        } else if (a == QLatin1String("--columns") && hasValue) {
            // Numbers for text and workbooks, names for database tables.
            const QStringList parts = arguments.at(++i).split(QLatin1Char(','));
            const bool numbers = std::all_of(parts.begin(), parts.end(), [](const QString& part) {
                bool ok = false;
                part.trimmed().toInt(&ok);
                return ok;
            });
            if (numbers) {
                request.columns = parseColumns(arguments.at(i));
            } else if (parts.size() == ImportSettings::kTargetCount) {
                request.fieldNames = parts;
            }
            if (!request.columns && !request.fieldNames) {
                return QStringLiteral("bad --columns: ") + arguments.at(i);
            }
        } else {
            return QStringLiteral("unknown option: ") + a;
        }
    }
    if (i >= arguments.size()) return QStringLiteral("need --export OUT");
    if (!request.condition.isEmpty() && request.table.isEmpty()) return QStringLiteral("--where needs --table");
    request.exportArguments = arguments.mid(i + 1);
    return QString();
}

namespace {

// The mapping for DATA: the one given, the one the import dialog saved for that kind
// of file, or columns 1 to 13.
RecordImport::Columns columnsFor(const ImportRequest& request, TableSheet::Kind kind) {
    if (request.columns) return *request.columns;
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
void build(CPatDoc& doc, const ImportRequest& request, const TableSheet& sheet,
           const RecordImport::Columns& columns, int firstRow) {
    if (!request.templatePath.isEmpty()) {
        doc.newRecordInitializer = [&doc, path = request.templatePath](InfoRecord& record) {
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
DatabaseSelection databaseSelection(const ImportRequest& request) {
    DatabaseSelection selection;
    selection.path = request.data;
    selection.table = request.table;
    selection.condition = request.condition;
    if (request.fieldNames) {
        for (size_t k = 0; k < selection.fields.size(); ++k) {
            selection.fields[k] = request.fieldNames->at(qsizetype(k)).trimmed();
        }
        return selection;
    }
    std::vector<DatabaseColumn> columns;
    QString message;
    if (!DatabaseSource::columns(request.data, request.table, columns, message)) throw FormatError(message);
    for (size_t k = 0; k < selection.fields.size(); ++k) {
        // Column numbers count the table's columns from 1; a number past them maps nothing.
        const size_t column = request.columns ? size_t(request.columns->at(k)) : k + 1;
        if (column >= 1 && column <= columns.size()) selection.fields[k] = columns[column - 1].name;
    }
    return selection;
}

// Reads the rows of a database table that meet the condition, one column per target.
ImportTable readDatabase(const CPatDoc& doc, const ImportRequest& request) {
    if (request.table.isEmpty()) throw FormatError(QString::fromUtf8("表名不能为空。"));
    const DatabaseSelection selection = databaseSelection(request);
    const QString problem = DatabaseImport::check(selection, doc.variableNames);
    if (!problem.isEmpty()) throw FormatError(problem);
    CellTable cells;
    QString message;
    if (!DatabaseImport::read(selection, cells, message)) throw FormatError(message);
    if (cells.rows.empty()) throw FormatError(DatabaseImport::noMatchMessage());
    return {TableSheet(std::move(cells), TableSheet::Kind::Text), DatabaseImport::columns(selection), 1};
}

}  // namespace

ImportTable readImportTable(const CPatDoc& doc, const ImportRequest& request) {
    // A FIFO or a device is refused before anything waits on it or reads without end.
    const QString unreadable = SourceFile::problem(request.data);
    if (!unreadable.isEmpty()) throw IoError(unreadable);
    const QByteArray head = SourceFile::head(request.data, 32);
    if (!request.table.isEmpty() || OdbcConnection::driverFor(head) != OdbcConnection::Driver::None) {
        return readDatabase(doc, request);
    }
    if (!request.columns && request.fieldNames) {
        throw FormatError(QStringLiteral("bad --columns: ") + request.fieldNames->join(QLatin1Char(',')));
    }
    const TableSheet::Kind kind = TableSheet::kindOf(request.data, head.left(8));
    const RecordImport::Columns columns = columnsFor(request, kind);
    // The dialog's checks of the mapping; the sheet is optional here (the text form).
    ImportSettings check(ImportSettings::Kind::Text);
    check.columns = columns;
    const QString problem = check.check(request.data, doc.variableNames);
    if (!problem.isEmpty()) throw FormatError(problem);

    TableSheet sheet(request.data, request.separator, request.sheet);
    const int firstRow = sheet.isWorkbook() || request.header ? 2 : 1;
    return {std::move(sheet), columns, firstRow};
}

int runImportCommand(const QStringList& arguments) {
    ImportRequest request;
    const QString problem = parseImportArguments(arguments, request);
    if (!problem.isEmpty()) return usageError(problem);
    QStringList exportArguments{arguments.value(0), QStringLiteral("--export")};
    exportArguments << request.exportArguments << request.data;
    return runExport(exportArguments, [&request](CPatDoc& doc, const QString&) {
        const ImportTable table = readImportTable(doc, request);
        build(doc, request, table.sheet, table.columns, table.firstRow);
    });
}

}  // namespace pemo
