// Dragging one block over a page of 60 text blocks: each step is a mouse move with the
// button held followed by a full synchronous repaint of the canvas, as the screen would
// show it. The target is under 16 ms a step.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "gui/canvas/CPatCanvas.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "gui/view/CPatView.h"

using namespace pemo;

namespace {

struct Fixture {
    Fixture() {
        doc.newDocument();
        InfoRecord& record = *doc.currentRecord();
        const QByteArray texts[] = {Gbk::fromUnicode(QString::fromUtf8("特价鲜牛奶")),
                                    Gbk::fromUnicode(QString::fromUtf8("全麦面包 Whole wheat")),
                                    QByteArray("19.90")};
        // Six columns of ten rows over the page.
        const int32_t w = record.widthTw / 6;
        const int32_t h = record.heightTw / 10;
        for (int i = 0; i < 60; ++i) {
            const int32_t left = (i % 6) * w;
            const int32_t top = (i / 6) * h;
            record.appendBlock(TextBlock::create(BlockKind::FixedText,
                                                 TwipsRect{left, top, left + w - 60, top + h - 60},
                                                 texts[i % 3], true));
        }
        view.resize(900, 1000);
        view.show();
        QApplication::processEvents();
        view.showCurrentRecord();
        canvas = view.canvas();
        const Block& first = *record.blocks.front();
        start = QPoint(toDevice((first.frame.left + first.frame.right) / 2, view.pixelsPerInch(), view.zoom()),
                       toDevice((first.frame.top + first.frame.bottom) / 2, view.pixelsPerInch(), view.zoom()));
        send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    }
    ~Fixture() { send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton); }

    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }

    CPatDoc doc;
    CPatView view{doc};
    CPatCanvas* canvas = nullptr;
    QPoint start;
};

void BM_DragStepWithRepaint(benchmark::State& state) {
    Fixture f;
    int step = 0;
    double slowest = 0;
    for (auto _ : state) {
        // Back and forth across 200 pixels of the page.
        const int offset = step % 400 < 200 ? step % 200 : 200 - step % 200;
        ++step;
        QElapsedTimer timer;
        timer.start();
        f.send(QEvent::MouseMove, f.start + QPoint(offset, offset / 2), Qt::NoButton,
               Qt::LeftButton);
        f.canvas->repaint();
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
    }
    state.counters["slowestMs"] = slowest;
}
BENCHMARK(BM_DragStepWithRepaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Moving the mouse over the page without a button: the cursor follows what is under it.
void BM_HoverStep(benchmark::State& state) {
    Fixture f;
    f.send(QEvent::MouseButtonRelease, f.start, Qt::LeftButton, Qt::NoButton);
    int step = 0;
    for (auto _ : state) {
        const int offset = step++ % 300;
        f.send(QEvent::MouseMove, QPoint(10 + offset, 10 + offset * 2), Qt::NoButton, Qt::NoButton);
    }
}
BENCHMARK(BM_HoverStep)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QApplication>(argc, argv); }
