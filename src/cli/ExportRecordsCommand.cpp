#include "ExportRecordsCommand.h"

#include <QFileInfo>

#include "CommandLine.h"
#include "ExitStatus.h"

#include "core/document/CPatDoc.h"
#include "core/codecs/Gbk.h"
#include "core/records/ExportSettings.h"
#include "core/records/RecordExport.h"

namespace pemo {

namespace {

bool parseOrders(const QString& text, ExportSettings& settings) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != ExportSettings::kTargetCount) return false;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const int value = parts.at(i).trimmed().toInt(&ok);
        if (!ok || value < 0 || value > ExportSettings::kTargetCount) return false;
        settings.orders[size_t(i)] = value;
    }
    return true;
}

bool isWorkbook(const QString& out) {
    return QFileInfo(out).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool isRecordExportPath(const QString& out) {
    const QString suffix = QFileInfo(out).suffix().toLower();
    return suffix == QLatin1String("csv") || suffix == QLatin1String("txt") ||
           suffix == QLatin1String("xlsx");
}

int exportRecords(const QStringList& arguments, const DocumentOpener& open) {
    QStringList files;
    std::optional<QString> orders;
    std::optional<char> separator;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--columns") && hasValue) {
            orders = arguments.at(++i);
        } else if (a == QLatin1String("--separator") && hasValue) {
            separator = parseSeparatorOption(arguments.at(++i));
            if (!separator) return usageError(QStringLiteral("bad --separator: ") + arguments.at(i));
        } else if (a.startsWith(QLatin1String("--"))) {
            return usageError(QStringLiteral("unknown option: ") + a);
        } else {
            files << a;
        }
    }
    if (files.size() != 2) return usageError(QStringLiteral("need OUT and FILE"));
    const QString& out = files.at(0);
    const bool workbook = isWorkbook(out);
    if (workbook && separator) return usageError(QStringLiteral("--separator is for text output"));

    ExportSettings settings =
        ExportSettings::load(workbook ? ExportSettings::Kind::Workbook : ExportSettings::Kind::Text);
    if (orders) {
        if (!parseOrders(*orders, settings)) return usageError(QStringLiteral("bad --columns: ") + *orders);
    } else if (settings.order().empty()) {
        settings.selectAll();
    }
    CPatDoc doc;
    doc.newDocument();
    open(doc, files.at(1));
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
        RecordExport::writeText(doc, settings.order(), separator.value_or(settings.separator()), out);
    }
    return kExitOk;
}

}  // namespace pemo
