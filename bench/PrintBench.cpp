// Printing speed and size: A4 signs, each with the shop's background picture and ten
// text blocks, printed by item to a PDF at 300 dpi; and one A0 sign at 600 dpi. Run one
// case at a time under /usr/bin/time -v to see the peak memory of that case alone.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSigns.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"

using namespace pemo;
using pemo::bench::makeSigns;

namespace {

void printToPdf(benchmark::State& state, CPatDoc& doc, int dpi, bool direct,
                QSizeF paper = QSizeF(210, 297)) {
    QTemporaryDir dir;
    // PEMO_BENCH_PDF keeps the output for a look.
    const QString kept = qEnvironmentVariable("PEMO_BENCH_PDF");
    const QString path = kept.isEmpty() ? dir.filePath(QStringLiteral("signs.pdf")) : kept;
    PrintJob job(doc);
    PrintSettings settings;
    settings.mode = PrintMode::ByItemWithBackground;
    settings.sheetMm = PdfOutput::printableMm(paper);
    if (!job.prepare(settings)) {
        state.SkipWithError("refused");
        return;
    }
    for (auto _ : state) {
        if (direct) {
            PdfOutput::write(job, path, paper, dpi, nullptr);
        } else {
            // The printer path (bands of pixels) into a PDF, for comparison.
            QPdfWriter writer(path);
            writer.setResolution(dpi);
            writer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter), QPageLayout::Portrait,
                                             QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
            QPainter painter(&writer);
            for (int k = 1; k <= job.pageCount(); ++k) {
                if (k > 1) writer.newPage();
                job.renderPage(painter, k);
            }
        }
    }
    state.counters["pages"] = job.pageCount();
    state.counters["pdfMB"] = QFileInfo(path).size() / 1e6;
}

void BM_ByItemPdf(benchmark::State& state) {
    const auto doc = makeSigns(static_cast<int>(state.range(0)), 210, 297);
    printToPdf(state, *doc, 300, true);
}
BENCHMARK(BM_ByItemPdf)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Signs with turned text blocks, drawn through a turned painter (text stays text).
void BM_ByItemPdfTurnedText(benchmark::State& state) {
    const auto doc = makeSigns(static_cast<int>(state.range(0)), 210, 297, false, true);
    printToPdf(state, *doc, 300, true);
}
BENCHMARK(BM_ByItemPdfTurnedText)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ByItemPdfOwnBackgrounds(benchmark::State& state) {
    const auto doc = makeSigns(static_cast<int>(state.range(0)), 210, 297, true);
    printToPdf(state, *doc, 300, true);
}
BENCHMARK(BM_ByItemPdfOwnBackgrounds)->Arg(100)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ByItemPdfBands(benchmark::State& state) {
    const auto doc = makeSigns(static_cast<int>(state.range(0)), 210, 297);
    printToPdf(state, *doc, 300, false);
}
BENCHMARK(BM_ByItemPdfBands)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

// At actual size on a sheet that holds it (5 mm margins round an A0 printable area);
// argument 1 draws straight onto the PDF, 0 goes through bands of pixels.
void BM_A0ByItemPdf(benchmark::State& state) {
    const auto doc = makeSigns(1, 841, 1189);
    printToPdf(state, *doc, 600, state.range(0) != 0, QSizeF(851, 1199));
}
BENCHMARK(BM_A0ByItemPdf)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
