#include "UpdateCommand.h"

#include <QDateTime>
#include <QFileInfo>
#include <cstdio>
#include <optional>

#include "CommandLine.h"
#include "ExitStatus.h"
#include "HeadlessCommands.h"
#include "ImportCommand.h"

#include "core/document/CPatDoc.h"
#include "core/document/RecordPrototype.h"
#include "core/document/TemplateFile.h"
#include "core/config/VariableNameList.h"
#include "core/codecs/Archive.h"
#include "core/records/PriceUpdate.h"

namespace pemo {

namespace {

struct UpdateRequest {
    QString document;
    int keyTarget = -1;  // 0-based
    ImportRequest import;
};

// Takes FILE, --from and --match out and hands the rest to the import's parser, as
// "--import DATA [options] --export OUT …".
QString parse(const QStringList& arguments, UpdateRequest& request) {
    if (arguments.size() < 3 || arguments.at(2).startsWith(QLatin1String("--"))) {
        return QStringLiteral("need FILE after --update");
    }
    request.document = arguments.at(2);
    QString data;
    QStringList rest;
    int i = 3;
    for (; i < arguments.size() && arguments.at(i) != QLatin1String("--export"); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--from") && hasValue) {
            data = arguments.at(++i);
        } else if (a == QLatin1String("--match") && hasValue) {
            int target = 0;
            if (!parseNumberOption(arguments.at(++i), 1, InfoRecord::kValueCount, target)) {
                return QStringLiteral("bad --match: ") + arguments.at(i);
            }
            request.keyTarget = target - 1;
        } else {
            rest << a;
        }
    }
    if (data.isEmpty()) return QStringLiteral("need --from DATA");
    if (request.keyTarget < 0) return QStringLiteral("need --match T");
    QStringList importArguments{arguments.value(0), QStringLiteral("--import"), data};
    importArguments << rest << arguments.mid(i);
    return parseImportArguments(importArguments, request.import);
}

// New products take the template's page when one is given, else the page of the
// document's current record, without its values.
void chooseNewRecordPage(CPatDoc& doc, const QString& templatePath) {
    if (!templatePath.isEmpty()) {
        doc.newRecordInitializer = [&doc, templatePath](InfoRecord& record) {
            TemplateFile::apply(templatePath, record, doc);
        };
        return;
    }
    if (const InfoRecord* current = doc.currentRecord()) doc.newRecordInitializer = RecordPrototype::pageOf(*current);
}

bool isDocumentPath(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("vxq"), Qt::CaseInsensitive) == 0;
}

}  // namespace

int runUpdateCommand(const QStringList& arguments) {
    UpdateRequest request;
    const QString problem = parse(arguments, request);
    if (!problem.isEmpty()) return usageError(problem);
    const QString out = request.import.exportArguments.value(0);
    const QString logPath = PriceUpdate::logPathFor(isDocumentPath(out) ? out : request.document);

    bool duplicates = false;
    std::optional<PriceUpdate> applied;
    VariableNameList names;
    QStringList exportArguments{arguments.value(0), QStringLiteral("--export")};
    exportArguments << request.import.exportArguments << request.document;
    int status = kExitOk;
    try {
        status = runExport(exportArguments, [&](CPatDoc& doc, const QString& path) {
            openDocument(doc, path);
            const ImportTable table = readImportTable(doc, request.import);
            PriceUpdate update(table.columns, request.keyTarget);
            if (!update.plan(doc, table.sheet, table.firstRow)) throw FormatError(update.message());
            if (update.hasDuplicates()) {
                duplicates = true;
                throw FormatError(update.duplicatesMessage());
            }
            chooseNewRecordPage(doc, request.import.templatePath);
            update.apply(doc);
            doc.newRecordInitializer = nullptr;
            std::printf("%s\n", update.summary().toUtf8().constData());
            std::fflush(stdout);
            names = doc.variableNames;
            applied = std::move(update);
        });
    } catch (const FileError& error) {
        printError(error.message());
        return duplicates ? kExitDuplicateKeys : kExitRefused;
    }
    // The log tells what was really written, so it follows the output.
    if (status != kExitOk || !applied || applied->changes().empty()) return status;
    QString error;
    if (!applied->appendLog(logPath, QDateTime::currentDateTime(), names, error)) {
        printError(error);
        return kExitRefused;
    }
    return status;
}

}  // namespace pemo
