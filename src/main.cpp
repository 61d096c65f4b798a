#include <QApplication>
#include <QDir>
#include <QFile>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "gui/app/CPatApp.h"
#include "cli/CommandLine.h"
#include "cli/HeadlessCommands.h"
#include "core/platform/Folders.h"
#include "core/platform/ProgramInfo.h"

namespace {

bool hasArgument(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return true;
    }
    return false;
}

}  // namespace

// Qt warns on every start when the session gives no runtime folder; give it one of ours.
void ensureRuntimeFolder() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const QString folder = QDir::tempPath() + QStringLiteral("/pemo-runtime-%1").arg(getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", folder.toUtf8());
}

int main(int argc, char** argv) {
    // A file that may not grow further (a size limit) fails its write, which the program
    // reports; it never kills the program with unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    // Commands that need no display come first.
    if (hasArgument(argc, argv, "--version")) {
        std::printf("%s %s\n", pemo::kProgramName, pemo::kProgramVersion);
        return 0;
    }
    if (pemo::isHelpRequest(argc, argv)) return pemo::showHelp();

    ensureRuntimeFolder();
    // Inspection and conversion run without a display.
    if (argc > 1 && pemo::isHeadlessCommand(argv[1])) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        // Picture copies of runs that were killed or crashed.
        pemo::removeLeftoverTempCopies();
        return *pemo::runHeadlessCommand(QGuiApplication::arguments());
    }

    if (const std::optional<QString> problem = pemo::windowCommandLineProblem(argc, argv)) {
        return pemo::usageError(*problem);
    }
    QApplication app(argc, argv);
    // The pictures compiled into the static GUI library.
    Q_INIT_RESOURCE(pemo);
    QApplication::setApplicationName(QStringLiteral("Pemo"));
    QApplication::setOrganizationName(QString::fromUtf8("佩墨"));
    pemo::removeLeftoverTempCopies();
    QGuiApplication::setDesktopFileName(QStringLiteral(PEMO_APP_ID));
    pemo::CPatApp patApp;
    if (!patApp.initInstance(QApplication::arguments())) return 0;
    return QApplication::exec();
}
