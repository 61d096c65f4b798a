// An A0 poster printed to a PDF on an A0 sheet: a page-sized rectangle with a gradient
// fill behind a headline of art text filled with a gradient. Targets: at 600 dpi under
// 3 s with a peak memory (counter peak_rss_MB) under 500 MiB.
// PEMO_BENCH_POSTER=FILE.vxq also saves the poster, for timing `pemo --export` on it.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <sys/resource.h>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/InfoRecord.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintSettings.h"
#include "core/text/ArtText.h"
#include "core/text/RichText.h"

namespace pemo {
namespace {

constexpr QSizeF kA0(841, 1189);  // millimetres

double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

int32_t twips(double mm) { return int32_t(mm * 1440 / 25.4); }

// The poster fills the sheet's printable area; `effect` is the background's gradient.
CPatDoc& poster(int effect) {
    static CPatDoc* doc = [] {
        registerBlockClasses();
        auto* d = new CPatDoc;
        d->newDocument();
        return d;
    }();
    InfoRecord& page = *doc->records.front();
    page.clearBlocks();
    const QSize area = PdfOutput::printableMm(kA0);
    page.widthMm = area.width();
    page.heightMm = area.height();
    page.widthTw = twips(area.width());
    page.heightTw = twips(area.height());

    auto background = std::make_unique<GraphicBlock>();
    background->kind = BlockKind::Rectangle;
    background->frame = TwipsRect{0, 0, page.widthTw, page.heightTw};
    background->sizeWidth = page.widthTw;
    background->sizeHeight = page.heightTw;
    background->points = {{0, 0}, {page.widthTw, page.heightTw}};
    background->penColour = 0x1E16C8;
    background->fillColour = 0x40D0FF;
    background->fillType = GraphicBlock::FirstEffect + effect - 1;
    page.appendBlock(std::move(background));

    const TwipsRect headlineFrame{twips(40), twips(60), page.widthTw - twips(40), twips(360)};
    auto headline = TextBlock::create(TextKind::Fixed, headlineFrame,
                                      Gbk::fromUnicode(QString::fromUtf8("全场八折")), true);
    RichText& t = *headline->content();
    t.selectAll();
    CharStyle art = t.item(0).style;
    art.textColour = 0x0000FF;
    art.effectColour = 0x00FFFF;
    art.effect = ArtText::kPatternFill;
    art.pattern = 1;  // top to bottom
    t.applyArtSettings(art, true);
    t.setSelection({0, true}, {0, true});
    page.appendBlock(std::move(headline));
    return *doc;
}

void BM_A0PosterPdf(benchmark::State& state) {
    const int dpi = int(state.range(0));
    CPatDoc& doc = poster(int(state.range(1)));
    const QString keep = qEnvironmentVariable("PEMO_BENCH_POSTER");
    if (!keep.isEmpty()) DocumentFile::save(doc, keep);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("poster.pdf"));
    PrintSettings settings;
    settings.sheetMm = PdfOutput::printableMm(kA0);
    for (auto _ : state) {
        PrintJob job(doc);
        if (!job.prepare(settings)) {
            state.SkipWithError("the poster does not fit the sheet");
            return;
        }
        QString error;
        if (!PdfOutput::write(job, out, kA0, dpi, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
    state.counters["pdf_MB"] = double(QFileInfo(out).size()) / 1e6;
    state.counters["peak_rss_MB"] = peakRssMb();
}
// Arguments: dpi, the background's gradient (1 top to bottom, 9 diagonal, 17 rings).
BENCHMARK(BM_A0PosterPdf)->Args({300, 1})->Args({600, 1})->Args({600, 9})->Args({600, 17})
    ->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
