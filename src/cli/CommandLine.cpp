#include "CommandLine.h"

#include <QRegularExpression>
#include <QSet>
#include <cstdio>
#include <cstring>

#include "ExitStatus.h"
#include "core/labels/LabelCatalogue.h"
#include "core/labels/LabelChoice.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintMode.h"
#include "core/print/PrintSettings.h"

namespace pemo {

namespace {

const char* const kUsage =
    "usage: pemo [FILE]\n"
    "       pemo --version\n"
    "       pemo --help\n"
    "       pemo --dump FILE\n"
    "       pemo --export OUT.vxq FILE\n"
    "       pemo --export OUT.png|OUT.bmp FILE [--record N] [--dpi D] [--no-background]\n"
    "                                          [--template-mode]\n"
    "       pemo --export OUT.pdf FILE [--mode M] [--sheet A4|A3|WxH] [--overlap MM]\n"
    "                                  [--spacing MM] [--dpi D] [--no-background]\n"
    "                                  [--turn-tiles]\n"
    "            M: template, by-item, by-copies, proof-AxB, tile, merge\n"
    "       pemo --export OUT.pdf FILE --mode labels --label \"BRAND PART\" [--start N] [--outline]\n"
    "       pemo --export OUT.pdf FILE --mode labels\n"
    "                 --label custom:PAPER,ROWSxCOLS,WxH,LEFT,TOP,HPITCH,VPITCH [--start N] [--outline]\n"
    "       pemo --check FILE [--mode M] [--no-background] [--sheet A4|A3|WxH]\n"
    "                         [--overlap MM] [--spacing MM] [--turn-tiles]\n"
    "            exit status 0: nothing found, 3: findings (one line each)\n"
    "       pemo --export OUT.csv|OUT.txt|OUT.xlsx FILE [--columns LIST] [--separator C]\n"
    "       pemo --export OUT.pdf FILE --mode list [--all] [--empty-columns]\n"
    "       pemo --import DATA [--sheet NAME] [--separator C] [--columns LIST] [--header]\n"
    "                          [--template T.vxt] --export OUT [export options]\n"
    "       pemo --import DATA.mdb|DATA.db --table NAME [--where COND] [--columns NAMES]\n"
    "                          [--template T.vxt] --export OUT [export options]\n"
    "       pemo --update FILE --from DATA --match T [--columns LIST] [--header]\n"
    "                          [--sheet NAME] [--separator C] [--table NAME --where COND]\n"
    "                          [--template T.vxt] --export OUT [export options]\n"
    "            T: the key's target: 1-10 the variables, 11-13 the three prices;\n"
    "            exit status 3: a key stands twice in the list or the document";

// Qt's own options that take a value, and those that stand alone.
const QSet<QString>& qtOptionsWithValue() {
    static const QSet<QString> names{
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"), QStringLiteral("session"),
        QStringLiteral("style"), QStringLiteral("stylesheet"), QStringLiteral("display"),
        QStringLiteral("geometry"), QStringLiteral("title"), QStringLiteral("name"),
        QStringLiteral("visual"), QStringLiteral("ncols"), QStringLiteral("dialogs")};
    return names;
}

const QSet<QString>& qtFlags() {
    static const QSet<QString> names{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                     QStringLiteral("sync"), QStringLiteral("nograb"),
                                     QStringLiteral("dograb"), QStringLiteral("cmap")};
    return names;
}

}  // namespace

int usageError(const QString& problem) {
    if (!problem.isEmpty()) printError(problem);
    printError(QString::fromUtf8(kUsage));
    return kExitUsage;
}

int showHelp() {
    std::printf("%s\n", kUsage);
    return kExitOk;
}

bool isHelpRequest(int argc, char** argv) {
    return argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
}

bool isHeadlessCommand(const char* first) {
    return std::strcmp(first, "--dump") == 0 || std::strcmp(first, "--check") == 0 || std::strcmp(first, "--export") == 0 ||
           std::strcmp(first, "--import") == 0 || std::strcmp(first, "--update") == 0;
}

std::optional<QString> windowCommandLineProblem(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (!a.startsWith(QLatin1Char('-')) || a == QStringLiteral("-")) {
            if (++files > 1) return QStringLiteral("more than one file: ") + a;
            continue;
        }
        QString name = a.mid(a.startsWith(QStringLiteral("--")) ? 2 : 1);
        name = name.section(QLatin1Char('='), 0, 0);
        if (qtFlags().contains(name)) continue;
        if (qtOptionsWithValue().contains(name)) {
            if (!a.contains(QLatin1Char('='))) ++i;
            continue;
        }
        return QStringLiteral("unknown option: ") + a;
    }
    return std::nullopt;
}

std::optional<char> parseSeparatorOption(const QString& text) {
    if (text == QLatin1String("tab") || text == QLatin1String("\\t")) return '\t';
    if (text.size() != 1 || text.at(0).unicode() >= 0x80) return std::nullopt;
    const char c = char(text.at(0).unicode());
    if (c == '"' || c == '\r' || c == '\n') return std::nullopt;
    return c;
}

bool parseSheetOption(const QString& text, QSizeF& sheet) {
    const QString t = text.toUpper();
    if (t == QStringLiteral("A4")) {
        sheet = QSizeF(210, 297);
        return true;
    }
    if (t == QStringLiteral("A3")) {
        sheet = QSizeF(297, 420);
        return true;
    }
    static const QRegularExpression size(QStringLiteral("^(\\d{1,4})X(\\d{1,4})$"));
    const QRegularExpressionMatch m = size.match(t);
    if (!m.hasMatch()) return false;
    const QSizeF parsed(m.captured(1).toInt(), m.captured(2).toInt());
    if (parsed.width() <= 2 * PdfOutput::kMarginMm || parsed.height() <= 2 * PdfOutput::kMarginMm) return false;
    sheet = parsed;
    return true;
}

bool parseNumberOption(const QString& text, int low, int high, int& value) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) return false;
    value = v;
    return true;
}

std::optional<int> takeLabelOption(const QStringList& arguments, int& i, PrintSettings& settings) {
    const QString& a = arguments.at(i);
    const bool hasValue = i + 1 < arguments.size();
    if (a == QStringLiteral("--outline")) {
        settings.labelOutlines = true;
        return kExitOk;
    }
    if (a == QStringLiteral("--start") && hasValue) {
        if (!parseNumberOption(arguments.at(++i), 1, 10000, settings.startLabel)) {
            return usageError(QStringLiteral("bad --start: ") + arguments.at(i));
        }
        return kExitOk;
    }
    if (a != QStringLiteral("--label") || !hasValue) return std::nullopt;
    const QString name = arguments.at(++i);
    const bool custom = name.startsWith(QString::fromLatin1(LabelChoice::kCustomPrefix), Qt::CaseInsensitive);
    static const LabelCatalogue none;
    const LabelCatalogue& catalogue = custom ? none : LabelCatalogue::installed();
    if (const std::optional<LabelTemplate> sheet = LabelChoice::resolve(name, catalogue)) {
        settings.labelSheet = std::make_shared<const LabelTemplate>(*sheet);
        return kExitOk;
    }
    if (custom) {
        return usageError(QStringLiteral("bad --label: ") + name +
                          QStringLiteral(" (custom:PAPER,ROWSxCOLS,WxH,LEFT,TOP,HPITCH,VPITCH in millimetres, "
                                         "labels on the paper)"));
    }
    if (catalogue.isEmpty()) {
        return usageError(QStringLiteral("unknown label product: ") + name +
                          QStringLiteral(" (the label catalogue is not installed; custom:… sheets still work)"));
    }
    return usageError(QStringLiteral("unknown label product: ") + name + QStringLiteral("; closest: ") +
                      catalogue.closest(name).join(QStringLiteral(", ")));
}

std::optional<int> applyLabelSheet(PrintSettings& settings, QSizeF& paper) {
    const bool labels = settings.mode == PrintMode::Labels;
    const bool labelOptions = settings.labelSheet || settings.startLabel != 1 || settings.labelOutlines;
    if (!labels) {
        if (labelOptions) return usageError(QStringLiteral("--label, --start and --outline go with --mode labels"));
        return std::nullopt;
    }
    if (!settings.labelSheet) return usageError(QStringLiteral("--mode labels needs --label"));
    paper = settings.labelSheet->paperMm;
    settings.sheetMm = QSize(static_cast<int>(paper.width()), static_cast<int>(paper.height()));
    settings.areaOriginMm = QPointF(0, 0);
    return std::nullopt;
}

}  // namespace pemo
