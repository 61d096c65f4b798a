// The recovery copy of a large document: 10,000 records, each with the product name, two
// prices and a line of fixed text as real text blocks. The body taken in one go holds the
// window's thread far longer than 50 ms, so the autosave takes it in slices of about 8 ms
// (longest_slice_ms is what typing may wait at most); packing and writing run on the
// autosave's own thread.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/RecoveryStore.h"
#include "core/document/SlicedBody.h"

namespace pemo {
namespace {

constexpr int kRecords = 10000;

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

struct Fixture {
    QTemporaryDir home;
    std::unique_ptr<CPatDoc> doc = std::make_unique<CPatDoc>();

    Fixture() {
        qputenv("PEMO_HOME", home.path().toUtf8());
        registerBlockClasses();
        const char* names[] = {"可口可乐 500毫升", "康师傅红烧牛肉面", "伊利纯牛奶 250毫升",
                               "农夫山泉 550毫升", "旺旺雪饼 520克"};
        // One sign laid out once; every record takes a copy of its page, as a template
        // poured through the records does.
        InfoRecord design;
        design.appendBlock(TextBlock::create(BlockKind::FirstVariable, {600, 600, 10000, 3000}, "x", true));
        design.appendBlock(TextBlock::create(BlockKind::OriginalPrice, {600, 4000, 5000, 6000}, "x", true));
        design.appendBlock(TextBlock::create(BlockKind::CurrentPrice, {5600, 4000, 10000, 7000}, "x", true));
        design.appendBlock(TextBlock::create(BlockKind::FixedText, {600, 8000, 10000, 9000},
                                             gbk("促销期间 会员再享九五折"), true));
        const QByteArray page = design.snapshotPage();
        for (int i = 0; i < kRecords; ++i) {
            auto r = doc->newRecord();
            r->restorePage(page);
            r->values[0] = gbk(names[i % 5]);
            r->values[10] = QByteArray::number(3 + i % 40) + ".50";
            r->values[11] = QByteArray::number(2 + i % 40) + ".80";
            r->refreshPlaceholders(false, doc->placeholderSources());
            doc->records.push_back(std::move(r));
        }
        doc->records.front()->current = true;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// What the window's thread does for one copy, slice by slice.
void BM_AutosaveSlices(benchmark::State& state) {
    Fixture& f = fixture();
    qint64 longest = 0;
    int slices = 0;
    for (auto _ : state) {
        SlicedBody body(*f.doc);
        slices = 1;
        while (!body.step(8)) ++slices;
        QElapsedTimer clock;
        clock.start();
        const auto parts = body.takeParts();  // the last thing done on the window's thread
        longest = std::max({longest, body.longestStepMs(), clock.elapsed()});
        benchmark::DoNotOptimize(SlicedBody::join(parts).data());
    }
    state.counters["longest_slice_ms"] = double(longest);
    state.counters["slices"] = slices;
}
BENCHMARK(BM_AutosaveSlices)->Unit(benchmark::kMillisecond);

// The same body in one go, as a save takes it.
void BM_AutosaveSnapshot(benchmark::State& state) {
    Fixture& f = fixture();
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray body = DocumentFile::writeBody(*f.doc);
        bytes = body.size();
        benchmark::DoNotOptimize(body.data());
    }
    state.counters["body_bytes"] = double(bytes);
}
BENCHMARK(BM_AutosaveSnapshot)->Unit(benchmark::kMillisecond);

// What the autosave's thread does with it: pack and write through a temporary file.
void BM_AutosavePackAndWrite(benchmark::State& state) {
    Fixture& f = fixture();
    const QByteArray body = DocumentFile::writeBody(*f.doc);
    const QString path = f.home.path() + "/copy.vxq";
    for (auto _ : state) {
        RecoveryStore::writeCopy(path, DocumentFile::pack(body), QString(), QDateTime::currentDateTime());
    }
}
BENCHMARK(BM_AutosavePackAndWrite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
