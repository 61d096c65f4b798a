#include "UpdateCommand.h"

#include <QDateTime>
#include <QFileInfo>
#include <cstdio>
#include <optional>

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

int runUpdateCommand(const UpdateRequest& request) {
    const QString& out = request.output.out;
    const QString logPath = PriceUpdate::logPathFor(isDocumentPath(out) ? out : request.document);

    bool duplicates = false;
    std::optional<PriceUpdate> applied;
    VariableNameList names;
    int status = kExitOk;
    try {
        status = runExport(request.output, [&](CPatDoc& doc, const QString& path) {
            openDocument(doc, path);
            const ImportTable table = readImportTable(doc, request.source);
            PriceUpdate update(table.columns, request.keyTarget);
            if (!update.plan(doc, table.sheet, table.firstRow)) throw FormatError(update.message());
            if (update.hasDuplicates()) {
                duplicates = true;
                throw FormatError(update.duplicatesMessage());
            }
            chooseNewRecordPage(doc, request.templatePath);
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
