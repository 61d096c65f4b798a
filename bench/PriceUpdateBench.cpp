// The weekly price change on a chain's whole range: a document of 20,000 signs, each on a
// template of ten blocks, brought up to date from a list of 20,000 rows (every tenth price
// changed, every hundredth product new): the list read, compared and applied. Peak memory
// is reported as the counter peak_rss_MB.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QGuiApplication>
#include <sys/resource.h>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordPrototype.h"
#include "core/records/DelimitedText.h"
#include "core/records/PriceUpdate.h"
#include "core/records/TableSheet.h"

namespace pemo {
namespace {

constexpr int kCount = 20000;

double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QByteArray barcode(qint64 i) { return QByteArray::number(6900000000000LL + i); }

// 20,000 signs on one page of ten placeholder blocks.
void fill(CPatDoc& doc) {
    doc.newDocument();
    InfoRecord& page = *doc.currentRecord();
    page.resizePage(90, 60);
    for (int b = 0; b < 10; ++b) {
        const int top = 100 + b * 300;
        const int32_t kind = b < 8 ? BlockKind::FirstVariable + b : BlockKind::CurrentPrice;
        page.appendBlock(TextBlock::create(kind, {200, top, 4800, top + 280},
                                           Gbk::fromUnicode(QString::fromUtf8("特价商品")), true));
    }
    const QByteArray design = page.snapshotPage();
    doc.newRecordInitializer = [&design](InfoRecord& record) { record.restorePage(design); };
    const RecordPrototype prototype(doc);
    doc.newRecordInitializer = nullptr;
    doc.records.clear();
    const PlaceholderSources sources = doc.placeholderSources();
    for (int i = 0; i < kCount; ++i) {
        std::unique_ptr<InfoRecord> record = prototype.make();
        record->values[0] = Gbk::fromUnicode(QString::fromUtf8("商品%1").arg(i));
        record->values[1] = barcode(i);
        record->values[InfoRecord::kCurrentPrice] = QByteArray::number(2 + i % 500 / 10.0, 'f', 2);
        record->refreshPlaceholders(false, sources);
        doc.records.push_back(std::move(record));
    }
    doc.records.front()->current = true;
}

QByteArray priceList() {
    QByteArray text;
    for (int i = 0; i < kCount; ++i) {
        const qint64 key = i % 100 == 99 ? 1000000 + i : i;
        const double price = 2 + i % 500 / 10.0 + (i % 10 == 0 ? 0.5 : 0);
        text += Gbk::fromUnicode(QString::fromUtf8("商品%1,").arg(i)) + barcode(key) + ',' +
                QByteArray::number(price, 'f', 2) + '\n';
    }
    return text;
}

void BM_PriceUpdate(benchmark::State& state) {
    registerBlockClasses();
    const QByteArray list = priceList();
    PriceUpdate::Columns columns{};
    columns[0] = 1;
    columns[1] = 2;
    columns[InfoRecord::kCurrentPrice] = 3;
    for (auto _ : state) {
        state.PauseTiming();
        CPatDoc doc;
        fill(doc);
        state.ResumeTiming();
        const TableSheet sheet(DelimitedText::parse(list, ','), TableSheet::Kind::Text);
        PriceUpdate update(columns, 1);
        if (!update.plan(doc, sheet, 1)) return state.SkipWithError("not planned");
        update.apply(doc);
        if (update.changedCount() != kCount / 10 || update.newCount() != kCount / 100) {
            return state.SkipWithError("unexpected counts");
        }
        benchmark::DoNotOptimize(doc.totalCopies());
        state.PauseTiming();
        doc.clear();
        state.ResumeTiming();
    }
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_PriceUpdate)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv, pemo::bench::Home::Private); }
