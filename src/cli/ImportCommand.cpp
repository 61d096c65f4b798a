#include "ImportCommand.h"

#include <QFile>

#include "CommandLine.h"
#include "ExitStatus.h"
#include "HeadlessCommands.h"

#include "core/codecs/Archive.h"
#include "core/document/CPatDoc.h"
#include "core/document/TemplateFile.h"
#include "core/records/ImportSettings.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

namespace {

struct ImportRequest {
    QString data;
    QString sheet;
    char separator = ',';
    std::optional<RecordImport::Columns> columns;
    bool header = false;
    QString templatePath;
    QStringList exportArguments;  // after --export
};

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

// Returns the problem, empty when the arguments are good.
QString parse(const QStringList& arguments, ImportRequest& request) {
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
        } else if (a == QLatin1String("--columns") && hasValue) {
            request.columns = parseColumns(arguments.at(++i));
            if (!request.columns) return QStringLiteral("bad --columns: ") + arguments.at(i);
        } else {
            return QStringLiteral("unknown option: ") + a;
        }
    }
    if (i >= arguments.size()) return QStringLiteral("need --export OUT");
    request.exportArguments = arguments.mid(i + 1);
    return QString();
}

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

TableSheet::Kind kindOfFile(const QString& path) {
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(8) : QByteArray();
    return TableSheet::kindOf(path, head);
}

// Reads DATA into the document: one record per row, on the template's page.
void importInto(CPatDoc& doc, const ImportRequest& request) {
    const TableSheet::Kind kind = kindOfFile(request.data);
    const RecordImport::Columns columns = columnsFor(request, kind);
    // The dialog's checks of the mapping; the sheet is optional here (the text form).
    ImportSettings check(ImportSettings::Kind::Text);
    check.columns = columns;
    const QString problem = check.check(request.data, doc.variableNames);
    if (!problem.isEmpty()) throw FormatError(problem);

    if (!request.templatePath.isEmpty()) {
        doc.newRecordInitializer = [&doc, path = request.templatePath](InfoRecord& record) {
            TemplateFile::apply(path, record, doc);
        };
    }
    const TableSheet sheet(request.data, request.separator, request.sheet);
    RecordImport import(doc, columns);
    const int firstRow = sheet.isWorkbook() || request.header ? 2 : 1;
    const bool built = import.build(sheet, firstRow, false);
    doc.newRecordInitializer = nullptr;
    if (!built) throw FormatError(import.message());
    import.apply(false);
}

}  // namespace

int runImportCommand(const QStringList& arguments) {
    ImportRequest request;
    const QString problem = parse(arguments, request);
    if (!problem.isEmpty()) return usageError(problem);
    QStringList exportArguments{arguments.value(0), QStringLiteral("--export")};
    exportArguments << request.exportArguments << request.data;
    return runExport(exportArguments,
                     [&request](CPatDoc& doc, const QString&) { importInto(doc, request); });
}

}  // namespace pemo
