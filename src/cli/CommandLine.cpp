#include "CommandLine.h"

#include <QSet>
#include <cstdio>
#include <cstring>
#include <optional>

#include "CommandParser.h"
#include "ExitStatus.h"

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

// A start of the window takes one optional FILE besides Qt's own options (-platform,
// -style …, with one dash or two). Anything else — an unknown option, a second file — is
// a usage error, told before any display is needed.
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

}  // namespace

ProgramStart ProgramStart::read(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) return {Kind::Version, {}};
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        return {Kind::Help, {}};
    }
    if (argc > 1 && isHeadlessCommand(QString::fromLocal8Bit(argv[1]))) return {Kind::Command, {}};
    if (const std::optional<QString> problem = windowCommandLineProblem(argc, argv)) {
        return {Kind::Refused, {*problem}};
    }
    return {Kind::Window, {}};
}

int usageError(const QString& problem) {
    if (!problem.isEmpty()) printError(problem);
    printError(QString::fromUtf8(kUsage));
    return kExitUsage;
}

int reportUsageProblem(const UsageProblem& problem) {
    if (problem.withUsage) return usageError(problem.text);
    printError(problem.text);
    return kExitUsage;
}

int showHelp() {
    std::printf("%s\n", kUsage);
    return kExitOk;
}

}  // namespace pemo
