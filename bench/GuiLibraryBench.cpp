// A background category of 2,000 pictures of 2480 × 3508 pixels (A4 at 300 dpi, JPEG):
// listing it (headers only), the first paint of the background panel with the visible
// thumbnails decoded, scrolling repaints, and the thumbnail cache's size after
// scrolling through all of them. Targets: listing under 1 s, visible thumbnails within
// 300 ms, a scroll repaint under 50 ms, the cache at most 64 MB.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "core/library/LibraryItems.h"
#include "gui/library/ThumbnailCache.h"
#include "gui/library/ThumbnailList.h"

using namespace pemo;

namespace {

constexpr int kCount = 2000;
constexpr int kDistinct = 8;

const QString kCategory = QString::fromUtf8("大量");

// The folder is written once per run: eight different pictures, each file a full copy
// of one of them.
class Library {
public:
    Library() {
        qputenv("PEMO_HOME", dir_.path().toUtf8());
        const QString folder = dir_.path() + QString::fromUtf8("/底图模板/") + kCategory;
        QDir().mkpath(folder);
        QList<QByteArray> pictures;
        for (int i = 0; i < kDistinct; ++i) {
            QImage image(2480, 3508, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(i * 45, 160, 230));
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            for (int k = 0; k < 40; ++k) {
                p.setBrush(QColor::fromHsv((i * 45 + k * 9) % 360, 200, 200));
                p.drawEllipse(QPoint((k * 397) % 2480, (k * 613) % 3508), 200 + k * 5, 150 + k * 3);
            }
            p.end();
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "JPEG", 80);
            pictures.append(bytes);
        }
        for (int i = 0; i < kCount; ++i) {
            QFile file(QStringLiteral("%1/底图%2.jpg").arg(folder).arg(i, 4, 10, QLatin1Char('0')));
            file.open(QIODevice::WriteOnly);
            file.write(pictures.at(i % kDistinct));
            bytes_ += pictures.at(i % kDistinct).size();
        }
    }
    qint64 bytes() const { return bytes_; }

private:
    QTemporaryDir dir_;
    qint64 bytes_ = 0;
};

Library& library() {
    static Library instance;
    return instance;
}

void BM_Listing(benchmark::State& state) {
    library();
    for (auto _ : state) {
        const auto items = LibraryItems::backgrounds(kCategory);
        if (items.size() != kCount)
            state.SkipWithError("not every background was listed");
        benchmark::DoNotOptimize(items.data());
    }
    state.counters["files"] = kCount;
    state.counters["MBonDisk"] = double(library().bytes()) / (1024 * 1024);
}
BENCHMARK(BM_Listing)->Unit(benchmark::kMillisecond)->Iterations(3);

// Waits until the list shows every visible thumbnail.
void waitForThumbnails(ThumbnailList& list) {
    QElapsedTimer timer;
    timer.start();
    while (list.pendingThumbnails() > 0 && timer.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QApplication::processEvents();
    list.viewport()->repaint();
}

// From the list's entries being set to the visible thumbnails on screen: the panel is
// the bar's default size, 150 × 400.
void BM_FirstPaint(benchmark::State& state) {
    library();
    const auto items = LibraryItems::backgrounds(kCategory);
    QVector<ThumbnailList::Entry> entries;
    for (const BackgroundItem& item : items)
        entries.append({item.caption(), item.path()});
    double slowest = 0;
    for (auto _ : state) {
        ThumbnailCache cache;
        ThumbnailList list(cache);
        list.resize(150, 400);
        list.show();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        list.setEntries(entries);
        list.viewport()->repaint();
        waitForThumbnails(list);
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
    }
    state.counters["slowestMs"] = slowest;
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

// One line down and a synchronous repaint, over the whole list; the thumbnails that
// come into view are decoded meanwhile. Reports the slowest repaint and the cache at
// the end.
void BM_ScrollRepaint(benchmark::State& state) {
    library();
    const auto items = LibraryItems::backgrounds(kCategory);
    QVector<ThumbnailList::Entry> entries;
    for (const BackgroundItem& item : items)
        entries.append({item.caption(), item.path()});
    ThumbnailCache cache;
    ThumbnailList list(cache);
    list.resize(150, 400);
    list.show();
    list.setEntries(entries);
    waitForThumbnails(list);
    std::vector<double> times;
    int position = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        list.scrollTo(++position % list.scrollMaximum());
        list.viewport()->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
        // What a user sees between two wheel steps: the decoded thumbnails arrive.
        QApplication::processEvents();
    }
    waitForThumbnails(list);
    std::sort(times.begin(), times.end());
    state.counters["p99Ms"] = times.at(times.size() * 99 / 100);
    state.counters["slowestMs"] = times.back();
    state.counters["cacheMB"] = double(cache.bytes()) / (1024 * 1024);
    state.counters["cacheLimitMB"] = double(cache.limitBytes()) / (1024 * 1024);
}
BENCHMARK(BM_ScrollRepaint)->Unit(benchmark::kMillisecond)->Iterations(kCount);

// Scrolling through the whole list and waiting at every step until the thumbnails
// are shown fills the cache as much as anything can.
void BM_CacheAfterFullScroll(benchmark::State& state) {
    library();
    const auto items = LibraryItems::backgrounds(kCategory);
    QVector<ThumbnailList::Entry> entries;
    for (const BackgroundItem& item : items)
        entries.append({item.caption(), item.path()});
    for (auto _ : state) {
        ThumbnailCache cache;
        ThumbnailList list(cache);
        list.resize(300, 800);
        list.show();
        list.setEntries(entries);
        for (int position = 0; position <= list.scrollMaximum(); position += 4) {
            list.scrollTo(position);
            list.viewport()->repaint();
            waitForThumbnails(list);
        }
        state.counters["cacheMB"] = double(cache.bytes()) / (1024 * 1024);
    }
}
BENCHMARK(BM_CacheAfterFullScroll)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QApplication>(argc, argv); }
