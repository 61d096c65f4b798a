#include "ExportRecordsCommand.h"

#include "ExitStatus.h"

#include "core/document/CPatDoc.h"
#include "core/codecs/Gbk.h"
#include "core/records/ExportSettings.h"
#include "core/records/RecordExport.h"

namespace pemo {

int exportRecords(const ExportRequest& request, const ExportRequest::Records& records, const DocumentOpener& open) {
    const QString& out = request.out;
    const bool workbook = records.workbook;
    ExportSettings settings =
        ExportSettings::load(workbook ? ExportSettings::Kind::Workbook : ExportSettings::Kind::Text);
    if (records.orders) {
        settings.orders = *records.orders;
    } else if (settings.order().empty()) {
        settings.selectAll();
    }
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.in);
    const QString problem = settings.check(out, doc.variableNames);
    if (!problem.isEmpty()) {
        printError(problem);
        return kExitRefused;
    }
    if (workbook) {
        const int cleaned =
            RecordExport::writeWorkbook(doc, settings.order(), Gbk::toUnicode(settings.sheetName), out);
        if (cleaned > 0) printError(RecordExport::cleanedCellsMessage(cleaned));
    } else {
        RecordExport::writeText(doc, settings.order(), records.separator.value_or(settings.separator()), out);
    }
    return kExitOk;
}

}  // namespace pemo
