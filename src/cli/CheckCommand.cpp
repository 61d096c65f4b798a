#include "CheckCommand.h"

#include <QSettings>
#include <cstdio>

#include "CommandLine.h"
#include "ExitStatus.h"
#include "core/document/CPatDoc.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintCheck.h"
#include "core/print/PrintMode.h"

namespace pemo {

int runCheck(const QStringList& arguments, const std::function<void(CPatDoc&, const QString&)>& open) {
    QStringList files;
    QString modeName = QStringLiteral("by-item");
    bool withBackground = true;
    PrintSettings settings;
    QSizeF paper(210, 297);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == QStringLiteral("--mode") && hasValue) {
            modeName = arguments.at(++i);
        } else if (a == QStringLiteral("--no-background")) {
            withBackground = false;
        } else if (a == QStringLiteral("--turn-tiles")) {
            settings.turnTiles = true;
        } else if (a == QStringLiteral("--sheet") && hasValue) {
            if (!parseSheetOption(arguments.at(++i), paper)) {
                return usageError(QStringLiteral("bad --sheet: ") + arguments.at(i));
            }
        } else if ((a == QStringLiteral("--overlap") || a == QStringLiteral("--spacing")) && hasValue) {
            int& target = a == QStringLiteral("--overlap") ? settings.tileOverlapMm : settings.mergeSpacingMm;
            if (!parseNumberOption(arguments.at(++i), 0, 1000, target)) {
                return usageError(QStringLiteral("bad ") + a + QStringLiteral(": ") + arguments.at(i));
            }
        } else if (const std::optional<int> label = takeLabelOption(arguments, i, settings)) {
            if (*label != kExitOk) return *label;
        } else if (a.startsWith(QStringLiteral("--"))) {
            return usageError(QStringLiteral("unknown option: ") + a);
        } else {
            files.append(a);
        }
    }
    if (files.size() != 1) return usageError(QStringLiteral("need one FILE"));
    const std::optional<PrintMode> mode = PrintMode::fromName(modeName, withBackground);
    if (!mode) return usageError(QStringLiteral("unknown --mode: ") + modeName);
    settings.mode = mode->code;
    settings.sheetMm = PdfOutput::printableMm(paper);
    if (const std::optional<int> problem = applyLabelSheet(settings, paper)) return *problem;

    CPatDoc doc;
    doc.newDocument();
    open(doc, files.at(0));
    const double minimum = QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo"))
                               .value(QStringLiteral("Settings/MinimumTextPoints"),
                                      PrintCheck::kDefaultMinimumPointsA4)
                               .toDouble();
    const auto findings = PrintCheck::run(doc, settings, minimum > 0 ? minimum : PrintCheck::kDefaultMinimumPointsA4);
    for (const PrintFinding& finding : findings) {
        std::printf("%s\n", finding.text.toUtf8().constData());
    }
    return findings.empty() ? kExitOk : kExitFindings;
}

}  // namespace pemo
