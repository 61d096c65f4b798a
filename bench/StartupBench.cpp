// One A4 sign (the shop's background picture and ten text blocks) printed to a PDF from
// the command line, as a till or a script does for every sign: the program's whole run,
// start-up included, in a process of its own, against `pemo --version` (loading the
// program and nothing more); and 100 and 1,000 such signs in one run. Reports the median
// of several runs and the peak memory.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSigns.h"
#include "ChildRun.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <map>

#include "core/document/DocumentFile.h"

namespace pemo {
namespace {

constexpr int kRuns = 11;

struct Signs {
    QTemporaryDir home;
    QString path;
};

// A document of count signs, made once for each count.
const Signs& signs(int count) {
    static std::map<int, Signs*> made;
    Signs*& s = made[count];
    if (!s) {
        s = new Signs;
        s->path = s->home.filePath(QStringLiteral("signs.vxq"));
        DocumentFile::save(*bench::makeSigns(count, 210, 297), s->path);
        // PEMO_BENCH_SIGN keeps a copy of the one-sign document, to profile a run by hand.
        const QString kept = qEnvironmentVariable("PEMO_BENCH_SIGN");
        if (count == 1 && !kept.isEmpty()) QFile::copy(s->path, kept);
    }
    // The runs keep their copies in this home, never beside the program.
    qputenv("PEMO_HOME", s->home.path().toUtf8());
    return *s;
}

void report(benchmark::State& state, const bench::ChildRun& run) {
    if (!run.ok) {
        state.SkipWithError("the program failed");
        return;
    }
    state.SetIterationTime(run.seconds);
    state.counters["median_s"] = run.seconds;
    state.counters["peak_MiB"] = run.peakRssMiB;
}

void BM_SignsPdf(benchmark::State& state) {
    const Signs& s = signs(int(state.range(0)));
    const QString out = s.home.filePath(QStringLiteral("signs.pdf"));
    const int runs = state.range(0) > 100 ? 5 : kRuns;
    for (auto _ : state) report(state, bench::medianRun({QStringLiteral("--export"), out, s.path}, runs));
}
BENCHMARK(BM_SignsPdf)->Arg(1)->Arg(100)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Version(benchmark::State& state) {
    signs(1);
    for (auto _ : state) report(state, bench::medianRun({QStringLiteral("--version")}, kRuns));
}
BENCHMARK(BM_Version)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
