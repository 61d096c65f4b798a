// Repaint speed of the record grid over 20,000 filled records: each scroll step
// renders the whole grid into an image, as a paint of the window would.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>

#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "gui/records/RecordGrid.h"

using namespace pemo;

namespace {

constexpr int kRecords = 20000;

void fill(CPatDoc& doc) {
    doc.clear();
    const QByteArray names[] = {Gbk::fromUnicode(QString::fromUtf8("特级鲜牛奶")),
                                Gbk::fromUnicode(QString::fromUtf8("全麦面包 Whole wheat")),
                                Gbk::fromUnicode(QString::fromUtf8("进口红酒750ml"))};
    for (int i = 0; i < kRecords; ++i) {
        auto record = doc.newRecord();
        for (int k = 0; k < 10; ++k)
            record->setValue(k, names[(i + k) % 3]);
        record->setValue(InfoRecord::kOriginalPrice, QByteArray::number(i % 100) + ".90");
        record->setValue(InfoRecord::kCurrentPrice, QByteArray::number(i % 80) + ".50");
        record->setValue(InfoRecord::kDiscount, "8.5");
        doc.records.push_back(std::move(record));
    }
    doc.records[0]->current = true;
}

struct Fixture {
    Fixture() {
        fill(doc);
        grid.resize(1280, 428);  // twenty rows
        grid.show();
        grid.refreshScroll();
        image = QImage(grid.size(), QImage::Format_RGB32);
    }
    CPatDoc doc;
    RecordGrid grid{doc};
    QImage image;
};

// One repaint per step of one row, cycling through the list.
void BM_RepaintPerRowStep(benchmark::State& state) {
    Fixture f;
    QScrollBar* bar = f.grid.scrollBar();
    int position = 0;
    for (auto _ : state) {
        position = position >= bar->maximum() ? 0 : position + 1;
        bar->setValue(position);
        f.grid.render(&f.image);
    }
}
BENCHMARK(BM_RepaintPerRowStep)->Unit(benchmark::kMillisecond);

// Top to bottom a page at a time; the slowest and the mean repaint of the pass. The
// first repaint, which loads the font, is reported on its own.
void BM_ScrollTopToBottom(benchmark::State& state) {
    Fixture f;
    QScrollBar* bar = f.grid.scrollBar();
    QElapsedTimer first;
    first.start();
    f.grid.render(&f.image);
    state.counters["firstMs"] = first.nsecsElapsed() / 1e6;
    double slowest = 0;
    double total = 0;
    int repaints = 0;
    int over16ms = 0;
    for (auto _ : state) {
        for (int position = 0; position <= bar->maximum(); position += f.grid.visibleRowCount()) {
            bar->setValue(position);
            QElapsedTimer timer;
            timer.start();
            f.grid.render(&f.image);
            const double ms = timer.nsecsElapsed() / 1e6;
            slowest = std::max(slowest, ms);
            total += ms;
            over16ms += ms >= 16 ? 1 : 0;
            ++repaints;
        }
    }
    state.counters["repaints"] = repaints;
    state.counters["meanMs"] = total / std::max(1, repaints);
    state.counters["slowestMs"] = slowest;
    state.counters["over16ms"] = over16ms;
}
BENCHMARK(BM_ScrollTopToBottom)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
