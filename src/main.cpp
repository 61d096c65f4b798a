// The program as the command line starts it: the headless commands run here; the window
// is a program of its own beside this one (window_main.cpp), so that a command never
// loads the widget, printing and network libraries.
#include <QGuiApplication>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/CommandParser.h"
#include "cli/ExitStatus.h"
#include "cli/HeadlessCommands.h"
#include "core/platform/Folders.h"
#include "core/platform/ProcessStart.h"
#include "core/platform/ProgramInfo.h"

namespace {

// Replaces this process with the window program in this program's folder, with the same
// arguments; returns only when that fails.
int startWindow(char** argv) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        // Never guessed from the name it was started by: that may be a name on the PATH,
        // which would start a program of that name in the current folder.
        std::fprintf(stderr, "无法启动窗口程序：找不到程序所在的文件夹（%s）\n", std::strerror(errno));
        return pemo::kExitRefused;
    }
    std::string path(self, size_t(length));
    path = path.substr(0, path.rfind('/') + 1) + PEMO_WINDOW_PROGRAM;
    execv(path.c_str(), argv);
    std::fprintf(stderr, "无法启动窗口程序 %s：%s\n", path.c_str(), std::strerror(errno));
    return pemo::kExitRefused;
}

}  // namespace

int main(int argc, char** argv) {
    // Commands that need no display come first.
    const pemo::ProgramStart start = pemo::ProgramStart::read(argc, argv);
    if (start.kind == pemo::ProgramStart::Kind::Version) {
        std::printf("%s %s\n", pemo::kProgramName, pemo::kProgramVersion);
        return 0;
    }
    if (start.kind == pemo::ProgramStart::Kind::Help) return pemo::showHelp();
    pemo::prepareProcess();

    // Inspection and conversion run without a display.
    if (start.kind == pemo::ProgramStart::Kind::Command) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        // Picture copies of runs that were killed or crashed.
        pemo::removeLeftoverTempCopies();
        // Qt has taken its own options (-platform …) out of the arguments read here.
        const pemo::ParsedCommand parsed = pemo::parseHeadlessCommand(QGuiApplication::arguments());
        if (const auto* problem = std::get_if<pemo::UsageProblem>(&parsed)) return pemo::reportUsageProblem(*problem);
        return pemo::runHeadlessCommand(std::get<pemo::CommandRequest>(parsed));
    }

    if (start.kind == pemo::ProgramStart::Kind::Refused) return pemo::reportUsageProblem(start.problem);
    return startWindow(argv);
}
