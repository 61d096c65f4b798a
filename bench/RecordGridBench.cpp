// Repaint speed of the record grid over 20,000 filled records: each scroll step
// renders the whole grid into an image, as a paint of the window would; and in-place
// edits committed from the keyboard, each with the repaint that shows it.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>

#include <QKeyEvent>
#include <ctime>
#include <algorithm>
#include <vector>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "gui/records/CellEditor.h"
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
        // A sign's usual placeholders: the name and the two prices.
        record->appendBlock(TextBlock::create(0x02020001, {0, 0, 5760, 1440}, names[0], true));
        record->appendBlock(TextBlock::create(0x02040001, {0, 1440, 2880, 2880}, "9.90", true));
        record->appendBlock(TextBlock::create(0x02040002, {0, 2880, 2880, 4320}, "8.50", true));
        doc.records.push_back(std::move(record));
    }
    doc.records[0]->current = true;
}

void pressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

struct Fixture {
    Fixture() {
        registerBlockClasses();
        fill(doc);
        doc.onChange = [this](CPatDoc::Change change) { grid.documentChanged(change); };
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

// This thread's processor time in milliseconds: on a busy machine the wall clock also
// counts the time other programs had the processor.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// 1,000 cells typed in place down the 现价 column and committed with Enter, spread over
// the list: each commit (undo snapshot, value, placeholder, modified flag, the move to
// the next row) timed together with the grid's repaint that shows it, by the wall clock
// and by the processor time the program used.
void BM_CommitInPlaceEdits(benchmark::State& state) {
    Fixture f;
    constexpr int kEdits = 1000;
    constexpr int kPriceColumn = 14;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    times.reserve(kEdits);
    cpuTimes.reserve(kEdits);
    for (auto _ : state) {
        for (int i = 0; i < kEdits; ++i) {
            f.grid.placeCursor((i * 19) % kRecords, kPriceColumn);
            f.grid.beginEdit(QString::number(i) + QStringLiteral(".80"), false);
            QElapsedTimer timer;
            timer.start();
            const double cpu = threadCpuMs();
            pressKey(f.grid.cellEditor(), Qt::Key_Return);
            f.grid.render(&f.image);
            times.push_back(timer.nsecsElapsed() / 1e6);
            cpuTimes.push_back(threadCpuMs() - cpu);
        }
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    state.counters["cpuMedianMs"] = cpuTimes[cpuTimes.size() / 2];
    state.counters["cpuMaxMs"] = cpuTimes.back();
    state.counters["edits"] = double(times.size());
    state.counters["medianMs"] = times[times.size() / 2];
    state.counters["p99Ms"] = times[times.size() * 99 / 100];
    state.counters["maxMs"] = times.back();
    state.counters["over16ms"] =
        double(times.end() - std::lower_bound(times.begin(), times.end(), 16.0));
}
BENCHMARK(BM_CommitInPlaceEdits)->Unit(benchmark::kMillisecond)->Iterations(1);

// One arrow key down the list with its repaint, past the end of a page each time.
void BM_ArrowDownWithRepaint(benchmark::State& state) {
    Fixture f;
    f.grid.placeCursor(0, 2);
    double slowest = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        pressKey(&f.grid, Qt::Key_Down);
        f.grid.render(&f.image);
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
        if (f.grid.cursor().row() >= kRecords) f.grid.placeCursor(0, 2);
    }
    state.counters["slowestMs"] = slowest;
}
BENCHMARK(BM_ArrowDownWithRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QApplication>(argc, argv); }
