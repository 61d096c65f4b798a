// Test entry point: a Qt application on the offscreen platform, with the program
// folder pointed at a fresh temporary folder so tests never write beside the build.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#ifdef PEMO_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
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
    // The per-user folders the program falls back on stay inside the test's own folder.
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
