// Printing onto label sheets: 1,000 shelf tags of 64 × 38 mm, each with the shop's
// background and ten text blocks, onto Avery L7160 sheets (21 a sheet) to a PDF at
// 300 dpi. Without the label catalogue installed the same sheet is given by its measures.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSigns.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "core/labels/LabelCatalogue.h"
#include "core/labels/LabelChoice.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"

using namespace pemo;

namespace {

std::shared_ptr<const LabelTemplate> l7160() {
    if (const LabelTemplate* t = LabelCatalogue::installed().find(QStringLiteral("Avery L7160"))) {
        return std::make_shared<const LabelTemplate>(*t);
    }
    return std::make_shared<const LabelTemplate>(
        *LabelChoice::resolve(QStringLiteral("custom:A4,7x3,64x38.1,7.48,15.49,66.04,38.1,1.76"), LabelCatalogue()));
}

void BM_LabelsPdf(benchmark::State& state) {
    const auto doc = bench::makeSigns(static_cast<int>(state.range(0)), 64, 38);
    QTemporaryDir dir;
    const QString kept = qEnvironmentVariable("PEMO_BENCH_PDF");
    const QString path = kept.isEmpty() ? dir.filePath(QStringLiteral("labels.pdf")) : kept;
    PrintSettings settings;
    settings.mode = PrintMode::Labels;
    settings.labelSheet = l7160();
    settings.sheetMm = QSize(210, 297);
    int pages = 0;
    for (auto _ : state) {
        // Laying the job out is part of the time: a print starts from the document.
        PrintJob job(*doc);
        if (!job.prepare(settings)) {
            state.SkipWithError("refused");
            return;
        }
        PdfOutput::write(job, path, settings.labelSheet->paperMm, 300, nullptr);
        pages = job.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["pdfMB"] = QFileInfo(path).size() / 1e6;
}
BENCHMARK(BM_LabelsPdf)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
