#include "PdfExport.h"

#include <cstdio>

#include "CommandLine.h"
#include "ExitStatus.h"

#include "core/document/CPatDoc.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintTable.h"

namespace pemo {

namespace {

constexpr int kOk = kExitOk;
constexpr int kRefused = kExitRefused;

int usage(const QString& problem) { return usageError(problem); }

// The record list as a table (信息打印).
int exportList(const QStringList& files, PrintTable::Options options, QSizeF paper, int dpi,
               const std::function<void(CPatDoc&, const QString&)>& open) {
    CPatDoc doc;
    doc.newDocument();
    open(doc, files.at(1));
    PrintTable table(doc, options);
    QString error;
    if (!PdfOutput::write(table, files.at(0), paper, dpi, &error)) {
        printError(error);
        return kRefused;
    }
    return kOk;
}

}  // namespace

int exportPdf(const QStringList& arguments,
              const std::function<void(CPatDoc&, const QString&)>& open) {
    QStringList files;
    QString modeName = QStringLiteral("by-item");
    bool withBackground = true;
    QSizeF paper(210, 297);
    PrintSettings settings;
    int dpi = 300;
    PrintTable::Options list;
    bool listOptions = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == QStringLiteral("--no-background")) {
            withBackground = false;
        } else if (a == QStringLiteral("--turn-tiles")) {
            settings.turnTiles = true;
        } else if (a == QStringLiteral("--all")) {
            list.queueOnly = false;
            listOptions = true;
        } else if (a == QStringLiteral("--empty-columns")) {
            list.emptyColumns = true;
            listOptions = true;
        } else if (a == QStringLiteral("--mode") && hasValue) {
            modeName = arguments.at(++i);
        } else if (a == QStringLiteral("--sheet") && hasValue) {
            if (!parseSheetOption(arguments.at(++i), paper)) return usage(QStringLiteral("bad --sheet: ") + arguments.at(i));
        } else if (a == QStringLiteral("--overlap") && hasValue) {
            if (!parseNumberOption(arguments.at(++i), 0, 1000, settings.tileOverlapMm)) {
                return usage(QStringLiteral("bad --overlap: ") + arguments.at(i));
            }
        } else if (a == QStringLiteral("--spacing") && hasValue) {
            if (!parseNumberOption(arguments.at(++i), 0, 1000, settings.mergeSpacingMm)) {
                return usage(QStringLiteral("bad --spacing: ") + arguments.at(i));
            }
        } else if (a == QStringLiteral("--dpi") && hasValue) {
            if (!parseNumberOption(arguments.at(++i), 36, 2400, dpi)) return usage(QStringLiteral("bad --dpi: ") + arguments.at(i));
        } else if (const std::optional<int> label = takeLabelOption(arguments, i, settings)) {
            if (*label != kExitOk) return *label;
        } else if (a.startsWith(QStringLiteral("--"))) {
            return usage(QStringLiteral("unknown option: ") + a);
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2) return usage(QStringLiteral("need OUT.pdf and FILE"));
    if (modeName == QStringLiteral("list")) return exportList(files, list, paper, dpi, open);
    if (listOptions) return usage(QStringLiteral("--all and --empty-columns go with --mode list"));
    const std::optional<PrintMode> mode = PrintMode::fromName(modeName, withBackground);
    if (!mode) return usage(QStringLiteral("unknown --mode: ") + modeName);
    settings.mode = mode->code;
    settings.sheetMm = PdfOutput::printableMm(paper);
    if (const std::optional<int> problem = applyLabelSheet(settings, paper)) return *problem;

    CPatDoc doc;
    doc.newDocument();
    open(doc, files.at(1));
    PrintJob job(doc);
    if (!job.prepare(settings)) {
        printError(job.refusal().isEmpty() ? QString::fromUtf8("无法打印。") : job.refusal());
        return kRefused;
    }
    QString error;
    if (!PdfOutput::write(job, files.at(0), paper, dpi, &error)) {
        printError(error);
        return kRefused;
    }
    return kOk;
}

}  // namespace pemo
