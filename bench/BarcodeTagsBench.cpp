// Price tags with barcodes: 1,000 tags of 90 × 60 mm, each with its product's EAN-13 and a
// QR code of its own (both from the record's values), printed by item to a PDF. The symbols
// are vectors: `pdfimages -list` on the kept file (PEMO_BENCH_PDF) lists no picture.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "core/barcodes/BarcodeData.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"

using namespace pemo;

namespace {

int32_t mm(double v) { return int32_t(v * 1440 / 25.4); }

std::unique_ptr<CPatDoc> makeTags(int count) {
    registerBlockClasses();
    auto doc = std::make_unique<CPatDoc>();
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(90, 60);
        record->copies = 1;
        const QString body = QStringLiteral("690%1").arg(100000000 + i * 7919, 9, 10, QLatin1Char('0'));
        const QByteArray ean = (body + QString::number(BarcodeData::checkDigit(body))).toLatin1();
        const QByteArray url = Gbk::fromUnicode(QString::fromUtf8("https://shop.example/商品/%1").arg(i));
        const QByteArray name = Gbk::fromUnicode(QString::fromUtf8("商品 %1").arg(i));
        record->setValue(0, name);
        record->setValue(1, ean);
        record->setValue(2, url);
        record->appendBlock(TextBlock::create(BlockKind::FirstVariable, {mm(4), mm(3), mm(86), mm(15)}, name, true));
        auto bar = TextBlock::create(BlockKind::FirstVariable + 1, {mm(4), mm(22), mm(52), mm(56)}, ean, true);
        BarcodeStyle::apply(*bar->content(), BarcodeFace::Symbology::Ean13, true, true);
        record->appendBlock(std::move(bar));
        auto qr = TextBlock::create(BlockKind::FirstVariable + 2, {mm(58), mm(22), mm(86), mm(50)}, url, true);
        BarcodeStyle::apply(*qr->content(), BarcodeFace::Symbology::Qr, true, true);
        record->appendBlock(std::move(qr));
        doc->records.push_back(std::move(record));
    }
    doc->records.front()->current = true;
    return doc;
}

void BM_BarcodeTagsPdf(benchmark::State& state) {
    const auto doc = makeTags(int(state.range(0)));
    QTemporaryDir dir;
    const QString kept = qEnvironmentVariable("PEMO_BENCH_PDF");
    const QString path = kept.isEmpty() ? dir.filePath(QStringLiteral("tags.pdf")) : kept;
    // A sheet that holds one tag inside 5 mm margins.
    const QSizeF paper(100, 70);
    PrintJob job(*doc);
    PrintSettings settings;
    settings.mode = PrintMode::ByItemWithBackground;
    settings.sheetMm = PdfOutput::printableMm(paper);
    if (!job.prepare(settings)) {
        state.SkipWithError("refused");
        return;
    }
    for (auto _ : state) PdfOutput::write(job, path, paper, 600, nullptr);
    state.counters["pages"] = job.pageCount();
    state.counters["pdfMB"] = QFileInfo(path).size() / 1e6;
}
BENCHMARK(BM_BarcodeTagsPdf)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
