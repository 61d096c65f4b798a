// Test entry point: a Qt application on the offscreen platform, with the program
// folder pointed at a fresh temporary folder so tests never write beside the build,
// and with no print server: the CUPS client is pointed at a socket in that folder that
// nothing listens on, so no test can list, choose or reach a real printer.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#ifdef PEMO_TEST_WIDGETS
#include "gui/app/GuardedApplication.h"
using TestApplication = pemo::GuardedApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    }
    qputenv("PEMO_HOME", home.path().toUtf8());
    // Settings (the recent files, Qt's file dialog history) and the per-user folders the
    // program falls back on go to the temporary folder too.
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        qputenv(name, QDir(home.path()).filePath(QString::fromLatin1(name)).toUtf8());
    }
    qputenv("CUPS_SERVER", QDir(home.path()).filePath(QStringLiteral("no-print-server")).toUtf8());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
