// One A4 sign (the shop's background picture and ten text blocks) printed to a PDF from
// the command line, as a till or a script does for every sign: the program's whole run,
// start-up included, in a process of its own, against `pemo --version` (loading the
// program and nothing more). Reports the median of several runs and the peak memory.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSigns.h"
#include "ChildRun.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "core/document/DocumentFile.h"

namespace pemo {
namespace {

constexpr int kRuns = 11;

struct OneSign {
    QTemporaryDir home;
    QString path;
};

const OneSign& oneSign() {
    static OneSign* sign = [] {
        auto* s = new OneSign;
        s->path = s->home.filePath(QStringLiteral("sign.vxq"));
        DocumentFile::save(*bench::makeSigns(1, 210, 297), s->path);
        // PEMO_BENCH_SIGN keeps a copy of the document, to profile a run by hand.
        const QString kept = qEnvironmentVariable("PEMO_BENCH_SIGN");
        if (!kept.isEmpty()) QFile::copy(s->path, kept);
        return s;
    }();
    // The runs keep their copies in this home, never beside the program.
    qputenv("PEMO_HOME", sign->home.path().toUtf8());
    return *sign;
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

void BM_OneSignPdf(benchmark::State& state) {
    const OneSign& s = oneSign();
    const QString out = s.home.filePath(QStringLiteral("sign.pdf"));
    for (auto _ : state) report(state, bench::medianRun({QStringLiteral("--export"), out, s.path}, kRuns));
}
BENCHMARK(BM_OneSignPdf)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Version(benchmark::State& state) {
    oneSign();
    for (auto _ : state) report(state, bench::medianRun({QStringLiteral("--version")}, kRuns));
}
BENCHMARK(BM_Version)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
