#include "PdfExport.h"

#include "ExitStatus.h"

#include "core/document/CPatDoc.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintTable.h"

namespace pemo {

int exportList(const ExportRequest& request, const ExportRequest::List& list, const DocumentOpener& open) {
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.in);
    PrintTable table(doc, list.options);
    QString error;
    if (!PdfOutput::write(table, request.out, list.paper, list.dpi, &error)) {
        printError(error);
        return kExitRefused;
    }
    return kExitOk;
}

int exportPdf(const ExportRequest& request, const ExportRequest::Pdf& job, const DocumentOpener& open) {
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.in);
    PrintJob printJob(doc);
    if (!printJob.prepare(job.settings)) {
        printError(printJob.refusal().isEmpty() ? QString::fromUtf8("无法打印。") : printJob.refusal());
        return kExitRefused;
    }
    QString error;
    if (!PdfOutput::write(printJob, request.out, job.paper, job.dpi, &error)) {
        printError(error);
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace pemo
