#include "CheckCommand.h"

#include <QSettings>
#include <cstdio>

#include "ExitStatus.h"
#include "core/document/CPatDoc.h"
#include "core/print/PrintCheck.h"

namespace pemo {

int runCheck(const CheckRequest& request, const DocumentOpener& open) {
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.file);
    const double minimum = QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo"))
                               .value(QStringLiteral("Settings/MinimumTextPoints"),
                                      PrintCheck::kDefaultMinimumPointsA4)
                               .toDouble();
    const auto findings =
        PrintCheck::run(doc, request.settings, minimum > 0 ? minimum : PrintCheck::kDefaultMinimumPointsA4);
    for (const PrintFinding& finding : findings) {
        std::printf("%s\n", finding.text.toUtf8().constData());
    }
    return findings.empty() ? kExitOk : kExitFindings;
}

}  // namespace pemo
