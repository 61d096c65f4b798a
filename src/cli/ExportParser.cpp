#include "ExportParser.h"

#include <QFileInfo>

#include "OptionScanner.h"
#include "OptionTable.h"
#include "UsageProblem.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintMode.h"

namespace pemo {

namespace {

const char* const kLabelOptionsNeedLabels = "--label, --start and --outline go with --mode labels";

QString suffixOf(const QString& path) { return QFileInfo(path).suffix().toLower(); }

ExportRequest pdfExport(const QStringList& words) {
    OptionValues values;
    const ScannedPart part = scanOptions(words, 0, {.sections = kPdfSection}, values);
    if (part.words.size() != 2) throw UsageProblem{QStringLiteral("need OUT.pdf and FILE")};
    ExportRequest request{part.words.at(0), part.words.at(1), {}};
    if (values.modeName == QLatin1String("list")) {
        if (values.given(kLabelGroup)) throw UsageProblem{QString::fromLatin1(kLabelOptionsNeedLabels)};
        request.form = ExportRequest::List{values.list, values.paper, values.pdfDpi};
        return request;
    }
    if (values.given(kListGroup)) {
        throw UsageProblem{QStringLiteral("--all and --empty-columns go with --mode list")};
    }
    request.form = printJobOf(values);
    return request;
}

ExportRequest recordsExport(const QStringList& words) {
    OptionValues values;
    const ScannedPart part = scanOptions(words, 0, {.sections = kRecordsSection}, values);
    if (part.words.size() != 2) throw UsageProblem{QStringLiteral("need OUT and FILE")};
    ExportRequest::Records records = values.records;
    records.workbook = suffixOf(part.words.at(0)) == QLatin1String("xlsx");
    if (records.workbook && records.separator) throw UsageProblem{QStringLiteral("--separator is for text output")};
    return {part.words.at(0), part.words.at(1), records};
}

// A picture, or the document itself; these forms answer every problem with the usage
// text alone, but for an output they cannot write.
ExportRequest pictureOrDocumentExport(const QStringList& words) {
    OptionValues values;
    const ScannedPart part = scanOptions(words, 0, {.sections = kPictureSection, .quiet = true}, values);
    if (part.words.size() != 2) throw UsageProblem{};
    ExportRequest request{part.words.at(0), part.words.at(1), {}};
    const QString suffix = suffixOf(request.out);
    if (suffix == QLatin1String("png") || suffix == QLatin1String("bmp")) {
        request.form = values.picture;
        return request;
    }
    if (suffix != QLatin1String("vxq")) {
        throw UsageProblem{QString::fromUtf8("不支持的输出格式：%1").arg(request.out), false};
    }
    if (values.given(kPictureGroup)) throw UsageProblem{};
    request.form = ExportRequest::Document{};
    return request;
}

}  // namespace

bool isRecordExportPath(const QString& out) {
    const QString suffix = suffixOf(out);
    return suffix == QLatin1String("csv") || suffix == QLatin1String("txt") || suffix == QLatin1String("xlsx");
}

ExportRequest parseExportWords(const QStringList& words) {
    // The form follows the word right after --export, so only the picture and document
    // forms take options before OUT.
    const QString first = words.value(0);
    if (first.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) return pdfExport(words);
    if (isRecordExportPath(first)) return recordsExport(words);
    return pictureOrDocumentExport(words);
}

ExportRequest::Pdf printJobOf(const OptionValues& values) {
    const std::optional<PrintMode> mode = PrintMode::fromName(values.modeName, values.withBackground);
    if (!mode) throw UsageProblem{QStringLiteral("unknown --mode: ") + values.modeName};
    ExportRequest::Pdf job{values.print, values.paper, values.pdfDpi};
    job.settings.mode = mode->code;
    job.settings.sheetMm = PdfOutput::printableMm(job.paper);
    if (mode->code != PrintMode::Labels) {
        if (values.given(kLabelGroup)) throw UsageProblem{QString::fromLatin1(kLabelOptionsNeedLabels)};
        return job;
    }
    if (!job.settings.labelSheet) throw UsageProblem{QStringLiteral("--mode labels needs --label")};
    // A label job is printed on its sheet's own paper, edge to edge.
    job.paper = job.settings.labelSheet->paperMm;
    job.settings.sheetMm = QSize(static_cast<int>(job.paper.width()), static_cast<int>(job.paper.height()));
    job.settings.areaOriginMm = QPointF(0, 0);
    return job;
}

}  // namespace pemo
