// One A4 sign (the shop's background picture and ten text blocks) printed to a PDF from
// the command line, as a till or a script does for every sign: the program's whole run,
// start-up included, in a process of its own, against `pemo --version` (loading the
// program and nothing more); and 100 and 1,000 such signs in one run. Reports the median
// of several runs and the peak memory. And 1,000 price tags, each with its product's name,
// price and EAN-13, onto Avery L7160 label sheets (21 a sheet) to a PDF, the whole run.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSigns.h"
#include "ChildRun.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <map>

#include "core/barcodes/BarcodeData.h"
#include "core/barcodes/BarcodeStyle.h"
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

int32_t mm(double v) { return int32_t(v * 1440 / 25.4); }

// count tags of 64 × 38 mm (about the L7160 label): the name (变量1), the price (现价) and
// the EAN-13 (变量2, 35 × 25 mm, a little over its nominal module) of a product each.
const Signs& barcodeTags(int count) {
    static std::map<int, Signs*> made;
    Signs*& s = made[count];
    if (!s) {
        s = new Signs;
        s->path = s->home.filePath(QStringLiteral("tags.vxq"));
        registerBlockClasses();
        CPatDoc doc;
        for (int i = 0; i < count; ++i) {
            auto record = std::make_unique<InfoRecord>();
            record->resizePage(64, 38);
            record->copies = 1;
            const QString body = QStringLiteral("690%1").arg(100000000 + i * 7919, 9, 10, QLatin1Char('0'));
            const QByteArray ean = (body + QString::number(BarcodeData::checkDigit(body))).toLatin1();
            const QByteArray name = Gbk::fromUnicode(QString::fromUtf8("商品 %1 号").arg(i + 1));
            const QByteArray price = QByteArray::number(1 + i % 97) + ".80";
            record->setValue(0, name);
            record->setValue(1, ean);
            record->setValue(InfoRecord::kCurrentPrice, price);
            record->appendBlock(TextBlock::create(BlockKind::FirstVariable, {mm(3), mm(2), mm(60.5), mm(10)}, name, true));
            record->appendBlock(TextBlock::create(BlockKind::CurrentPrice, {mm(3), mm(14), mm(24), mm(24)}, price, true));
            auto bar = TextBlock::create(BlockKind::FirstVariable + 1, {mm(26), mm(12), mm(61), mm(37)}, ean, true);
            BarcodeStyle::apply(*bar->content(), BarcodeFace::Symbology::Ean13, true, true);
            record->appendBlock(std::move(bar));
            doc.records.push_back(std::move(record));
        }
        doc.records.front()->current = true;
        DocumentFile::save(doc, s->path);
        const QString kept = qEnvironmentVariable("PEMO_BENCH_TAGS");
        if (!kept.isEmpty()) QFile::copy(s->path, kept);
    }
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

void BM_BarcodeLabelsPdf(benchmark::State& state) {
    const Signs& s = barcodeTags(int(state.range(0)));
    const QString out = s.home.filePath(QStringLiteral("tags.pdf"));
    const QStringList arguments = {QStringLiteral("--export"), out, s.path, QStringLiteral("--mode"),
                                   QStringLiteral("labels"), QStringLiteral("--label"), QStringLiteral("Avery L7160")};
    for (auto _ : state) report(state, bench::medianRun(arguments, 5));
}
BENCHMARK(BM_BarcodeLabelsPdf)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Version(benchmark::State& state) {
    signs(1);
    for (auto _ : state) report(state, bench::medianRun({QStringLiteral("--version")}, kRuns));
}
BENCHMARK(BM_Version)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
