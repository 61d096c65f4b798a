// Signs with pictures to PDF: A4 signs printed by item, each with its own 2000 × 2000
// JPEG product picture, both mall logos (a WMF and a BMP beside the program) and ten
// text blocks, at 300 dpi. Reports the PDF's size against the JPEGs' own. Run one case
// at a time under /usr/bin/time -v to see the peak memory of that case alone.
//
// The File cases save such a document and time the program itself opening it and
// printing it to a PDF (or saving it again), in a process of its own: seconds, its peak
// memory and that peak less the document's size (which should stay flat in the number of
// signs).
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "ChildRun.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <map>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"

using namespace pemo;

namespace {

constexpr int kPictureSide = 2000;

// A photo-like product picture: shaded rings and some grain, on a white ground (product
// photos usually have one), saved as a JPEG of quality 90.
QByteArray productJpeg(int seed) {
    QImage image(kPictureSide, kPictureSide, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(seed + 1));
    const int c = kPictureSide / 2;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d2 = (x - c) * (x - c) + (y - c) * (y - c);
            if (d2 > c * c * 9 / 10) {
                line[x] = qRgb(255, 255, 255);
                continue;
            }
            const int grain = int(random.bounded(12));
            const int ring = d2 / 4000 % 80;
            line[x] = qRgb((150 + ring + seed * 13) % 256, (90 + grain + y * 100 / kPictureSide) % 256,
                           (40 + x * 120 / kPictureSide + grain) % 256);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// A placeable WMF logo: a filled ellipse and a bar on white, 300 × 150 units at 300 per inch.
QByteArray logoWmf() {
    QByteArray b;
    const auto u16 = [&](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto u32 = [&](quint32 v) { u16(int(v & 0xFFFF)); u16(int(v >> 16)); };
    u32(0x9AC6CDD7); u16(0); u16(0); u16(0); u16(300); u16(150); u16(300); u32(0);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2) sum ^= quint16(quint8(b[i]) | (quint8(b[i + 1]) << 8));
    u16(sum);
    QByteArray records;
    std::swap(b, records);
    u32(5); u16(0x020B); u16(0); u16(0);
    u32(5); u16(0x020C); u16(150); u16(300);
    u32(7); u16(0x02FC); u16(0); u32(0x2060C0); u16(0);
    u32(4); u16(0x012D); u16(0);
    u32(7); u16(0x0418); u16(140); u16(140); u16(10); u16(10);  // ELLIPSE
    u32(7); u16(0x041B); u16(110); u16(290); u16(60); u16(150); // RECTANGLE
    u32(3); u16(0);
    std::swap(b, records);
    QByteArray header;
    std::swap(b, header);
    u16(1); u16(9); u16(0x0300); u32(quint32((18 + records.size()) / 2)); u16(1); u32(7); u16(0);
    std::swap(b, header);
    return b + header + records;
}

struct Fixture {
    QTemporaryDir home;
    std::unique_ptr<CPatDoc> doc;
    qint64 jpegBytes = 0;
};

// count A4 signs, each with its own product picture, both logos and ten text blocks.
std::unique_ptr<Fixture> makeSigns(int count) {
    auto f = std::make_unique<Fixture>();
    qputenv("PEMO_HOME", f->home.path().toUtf8());
    registerBlockClasses();
    {
        QFile wmf(f->home.filePath("PemLogo1.wmf"));
        wmf.open(QIODevice::WriteOnly);
        wmf.write(logoWmf());
        QImage logo(400, 160, QImage::Format_RGB32);
        logo.fill(Qt::white);
        QPainter(&logo).fillRect(20, 20, 360, 120, QColor(200, 30, 40));
        logo.save(f->home.filePath("PemLogo2.bmp"), "BMP");
    }
    f->doc = std::make_unique<CPatDoc>();
    CPatDoc& doc = *f->doc;
    const char* lines[] = {"限时特价", "全场商品八折优惠", "原价：%1 元", "现价：%1 元", "会员再享 95 折",
                           "产地：上海", "规格：500 克", "货号：A%1", "活动时间：本周六至周日", "佩墨超市"};
    const int numbers[] = {0, 0, 100, 80, 0, 0, 0, 1000, 0, 0};
    // Pictures are made once and reused under other names, so a large count stays quick
    // to set up while every sign still has a picture file of its own.
    constexpr int kDistinctMade = 20;
    std::vector<QByteArray> made;
    for (int i = 0; i < std::min(count, kDistinctMade); ++i) made.push_back(productJpeg(i));
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(210, 297);
        const int w = record->widthTw;
        const int h = record->heightTw;
        // The picture's bytes differ per sign (a trailing comment), so each is its own.
        QByteArray jpeg = made[size_t(i % kDistinctMade)];
        jpeg.append("sign").append(QByteArray::number(i));
        f->jpegBytes += jpeg.size();
        PictureDescription d;
        d.kind = PictureDescription::LibraryPicture;
        d.name = "p" + QByteArray::number(i);
        d.extension = ".jpg";
        d.width = d.height = kPictureSide;
        const QByteArray key = "pic" + QByteArray::number(i);
        doc.images.addBytes(key, d, jpeg);
        record->productPicture = key;
        auto product = std::make_unique<PictureBlock>();
        product->kind = BlockKind::ProductPicture;
        product->setRect({w / 6, h / 3, w - w / 6, h / 3 + (w * 2 / 3)});
        product->setPictureKey(key);
        record->appendBlock(std::move(product));
        for (int logo = 0; logo < 2; ++logo) {
            auto block = std::make_unique<PictureBlock>();
            block->kind = logo ? BlockKind::Logo2 : BlockKind::Logo1;
            block->setRect({w / 12 + logo * w / 2, h / 80, w / 12 + logo * w / 2 + w / 3, h / 12});
            record->appendBlock(std::move(block));
        }
        for (int b = 0; b < 10; ++b) {
            QString text = QString::fromUtf8(lines[b]);
            if (numbers[b]) text = text.arg(numbers[b] + i);
            const int top = b < 3 ? h / 10 + b * h / 14 : h * 2 / 3 + (b - 3) * h / 24;
            const TwipsRect rect{w / 12, top, w - w / 12, top + h / 26};
            record->appendBlock(TextBlock::create(BlockKind::FixedText, rect, Gbk::fromUnicode(text), true));
        }
        doc.records.push_back(std::move(record));
    }
    doc.records.front()->current = true;
    return f;
}

void BM_PictureSignsPdf(benchmark::State& state) {
    const auto f = makeSigns(static_cast<int>(state.range(0)));
    // PEMO_BENCH_PDF keeps the output for a look.
    const QString kept = qEnvironmentVariable("PEMO_BENCH_PDF");
    const QString path = kept.isEmpty() ? f->home.filePath(QStringLiteral("signs.pdf")) : kept;
    PrintJob job(*f->doc);
    PrintSettings settings;
    settings.mode = PrintMode::ByItemWithBackground;
    settings.sheetMm = PdfOutput::printableMm(QSizeF(210, 297));
    if (!job.prepare(settings)) {
        state.SkipWithError("refused");
        return;
    }
    for (auto _ : state) PdfOutput::write(job, path, QSizeF(210, 297), 300, nullptr);
    const double pdf = double(QFileInfo(path).size());
    state.counters["pages"] = job.pageCount();
    state.counters["pdfMB"] = pdf / 1e6;
    state.counters["jpegMB"] = double(f->jpegBytes) / 1e6;
    state.counters["pdf/jpeg"] = pdf / double(f->jpegBytes);
}
BENCHMARK(BM_PictureSignsPdf)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// A saved document of count signs, made once per count and kept for the whole run.
struct SavedSigns {
    std::unique_ptr<Fixture> fixture;
    QString path;
    double documentMiB = 0;
};

const SavedSigns& savedSigns(int count) {
    static std::map<int, SavedSigns> saved;
    SavedSigns& s = saved[count];
    if (!s.fixture) {
        s.fixture = makeSigns(count);
        s.path = s.fixture->home.filePath(QStringLiteral("signs.vxq"));
        DocumentFile::save(*s.fixture->doc, s.path);
        // Only the file and the logos beside the program are needed from here on.
        s.fixture->doc.reset();
        s.documentMiB = double(QFileInfo(s.path).size()) / (1024.0 * 1024.0);
    }
    // The program finds the logos in this fixture's home.
    qputenv("PEMO_HOME", s.fixture->home.path().toUtf8());
    return s;
}

void reportChild(benchmark::State& state, const bench::ChildRun& run, const SavedSigns& s) {
    if (!run.ok) {
        state.SkipWithError("the program failed");
        return;
    }
    state.SetIterationTime(run.seconds);
    state.counters["seconds"] = run.seconds;
    state.counters["peak_MiB"] = run.peakRssMiB;
    state.counters["document_MiB"] = s.documentMiB;
    state.counters["over_document_MiB"] = run.peakRssMiB - s.documentMiB;
}

void BM_PictureSignsFilePdf(benchmark::State& state) {
    const SavedSigns& s = savedSigns(static_cast<int>(state.range(0)));
    const QString out = s.fixture->home.filePath(QStringLiteral("signs.pdf"));
    for (auto _ : state) {
        reportChild(state, bench::runProgram({QStringLiteral("--export"), out, s.path}), s);
    }
}
BENCHMARK(BM_PictureSignsFilePdf)->Arg(100)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PictureSignsFileResave(benchmark::State& state) {
    const SavedSigns& s = savedSigns(static_cast<int>(state.range(0)));
    const QString out = s.fixture->home.filePath(QStringLiteral("again.vxq"));
    for (auto _ : state) {
        reportChild(state, bench::runProgram({QStringLiteral("--export"), out, s.path}), s);
    }
    QFile a(s.path), b(out);
    if (a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) {
        bool same = a.size() == b.size();
        while (same && !a.atEnd()) same = a.read(1 << 20) == b.read(1 << 20);
        state.counters["identical"] = same ? 1 : 0;
    }
}
BENCHMARK(BM_PictureSignsFileResave)->Arg(100)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
