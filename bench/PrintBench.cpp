// Printing speed and size: A4 signs, each with the shop's background picture and ten
// text blocks, printed by item to a PDF at 300 dpi; and one A0 sign at 600 dpi. Run one
// case at a time under /usr/bin/time -v to see the peak memory of that case alone.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

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

namespace {

// A photo-like background (gradients and rings, so it compresses like a real one) as
// a JPEG file of an A4 page at 150 dpi.
QByteArray backgroundJpeg(int seed = 0) {
    QImage image(1240, 1754, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int ring = ((x - 620) * (x - 620) + (y - 600) * (y - 600)) / 900 % 64;
            line[x] = qRgb(200 + ring / 2, 120 + (y * 100 / image.height()), (60 + seed * 7 + x * 120 / image.width()) % 256);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}

// count signs of widthMm × heightMm sharing one background (or each with its own), each
// with ten text blocks (title, slogan, prices, product details) of its own text; with
// turned, every third block is turned (by 30° or a quarter turn).
std::unique_ptr<CPatDoc> makeSigns(int count, int widthMm, int heightMm, bool ownBackgrounds = false,
                                   bool turned = false) {
    registerBlockClasses();
    auto doc = std::make_unique<CPatDoc>();
    PictureDescription description;
    description.kind = PictureDescription::Background;
    description.name = "bench";
    description.extension = ".jpg";
    doc->backgrounds.addBytes("bg", description, backgroundJpeg());
    const char* lines[] = {"限时特价", "全场商品八折优惠", "原价：%1 元", "现价：%1 元", "会员再享 95 折",
                           "产地：上海", "规格：500 克", "货号：A%1", "活动时间：本周六至周日", "佩墨超市"};
    const int numbers[] = {0, 0, 100, 80, 0, 0, 0, 1000, 0, 0};
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(widthMm, heightMm);
        if (ownBackgrounds) {
            const QByteArray key = "bg" + QByteArray::number(i);
            description.name = key;
            doc->backgrounds.addBytes(key, description, backgroundJpeg(i));
            record->background.key = key;
        } else {
            record->background.key = "bg";
        }
        record->background.present = 1;
        const int w = record->widthTw;
        const int h = record->heightTw;
        for (int b = 0; b < 10; ++b) {
            QString text = QString::fromUtf8(lines[b]);
            if (numbers[b]) text = text.arg(numbers[b] + i);
            const TwipsRect rect{w / 12, h * b / 10 + h / 80, w - w / 12, h * (b + 1) / 10 - h / 80};
            auto block = TextBlock::create(BlockKind::FixedText, rect, Gbk::fromUnicode(text), true);
            if (turned && b % 3 == 0) {
                const QPoint p0(rect.left, rect.top);
                block->rotateTowards(p0.x() + 1732, p0.y() - (b % 2 ? 1000 : 100000));
                block->clearHandles();
            }
            record->appendBlock(std::move(block));
        }
        doc->records.push_back(std::move(record));
    }
    doc->records.front()->current = true;
    return doc;
}

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
