#pragma once

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <QtGlobal>
#include <functional>

namespace pemo::bench {

// Where the program's own folders (settings, library copy) are during a run.
enum class Home { Shared, Private };

// Runs the benchmarks named on the command line in an application of type App, off screen
// unless a platform is set; afterwards runs `after` (for a last look at some output).
template <class App>
int run(int argc, char** argv, Home home = Home::Shared, const std::function<void()>& after = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir privateHome;
    if (home == Home::Private) qputenv("PEMO_HOME", privateHome.path().toUtf8());
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (after) after();
    return 0;
}

}  // namespace pemo::bench
