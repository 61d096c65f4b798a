// The program's window, started by the program (main.cpp) with the arguments it was given
// once they are known to be the window's.
#include "gui/app/CPatApp.h"
#include "gui/app/GuardedApplication.h"
#include "core/platform/Folders.h"
#include "core/platform/ProcessStart.h"

int main(int argc, char** argv) {
    pemo::prepareProcess();
    pemo::GuardedApplication app(argc, argv);
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
