// Speed of the effect painter. Targets: every effect over 1000 × 1000 pixels under 5 ms
// (the two ring effects under 15 ms); an A4 page of 50 effect-filled shapes, half with
// shadows, repainted on screen under 30 ms and at 600 dpi for output under 2 s.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "core/blocks/BlockKind.h"
#include "core/blocks/BlockList.h"
#include "core/blocks/GraphicBlock.h"
#include "core/document/InfoRecord.h"
#include "core/graphics/EffectPainter.h"

using namespace pemo;

namespace {

void BM_PaintEffect(benchmark::State& state) {
    const int effect = int(state.range(0));
    QImage target(1000, 1000, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&target);
        paintEffect(p, 0, 0, 1000, 1000, effect, 0x1E16C8, 0x40D0FF);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintEffect)->DenseRange(1, 33)->Unit(benchmark::kMillisecond);

const int32_t kClosedKinds[] = {BlockKind::Ellipse,     BlockKind::RoundRect,
                                BlockKind::Triangle,    BlockKind::Rectangle,
                                BlockKind::ClosedCurve, 0x01000011};

std::vector<QPoint> pointsFor(int32_t kind, int w, int h) {
    if (kind == BlockKind::Triangle || kind == BlockKind::ClosedCurve) {
        return {{0, h}, {w / 4, 0}, {w / 2, h / 2}, {3 * w / 4, 0}, {w, h}, {w / 2, h}};
    }
    return {{0, 0}, {w, h}, {w / 4, h / 4}};
}

struct Page {
    InfoRecord record;

    Page() {
        const int columns = 5, rows = 10;
        const int cellW = record.widthTw / columns, cellH = record.heightTw / rows;
        for (int i = 0; i < columns * rows; ++i) {
            const int col = i % columns, row = i / columns;
            auto b = std::make_unique<GraphicBlock>();
            b->kind = kClosedKinds[i % std::size(kClosedKinds)];
            b->frame = TwipsRect{col * cellW + 80, row * cellH + 80, (col + 1) * cellW - 80,
                                 (row + 1) * cellH - 80};
            b->sizeWidth = b->frame.width();
            b->sizeHeight = b->frame.height();
            b->points = pointsFor(b->kind, b->sizeWidth, b->sizeHeight);
            b->penColour = 0x1E16C8;
            b->fillColour = 0x40D0FF;
            b->fillType = GraphicBlock::FirstEffect + i % 18;
            b->shadowDirection = int16_t(i % 2 ? 1 + i / 2 % 4 : 0);
            record.appendBlock(std::move(b));
        }
    }
};

void repaint(benchmark::State& state, int ppi, double zoom) {
    static Page page;
    const int width = int(page.record.widthTw * ppi * zoom / 1440);
    const int height = int(page.record.heightTw * ppi * zoom / 1440);
    QImage canvas(width, height, QImage::Format_RGB32);
    const int dpm = qRound(ppi / 0.0254);
    canvas.setDotsPerMeterX(dpm);
    canvas.setDotsPerMeterY(dpm);
    for (auto _ : state) {
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        forEachInDrawingOrder(page.record.blocks,
                              [&](Block& b) { b.drawForOutput(p, zoom, 0, 0, ppi); });
        p.end();
        benchmark::DoNotOptimize(canvas.constBits());
    }
    state.counters["MB"] = double(canvas.sizeInBytes()) / 1e6;
    const QString keep = qEnvironmentVariable("PEMO_BENCH_EFFECTS");
    if (!keep.isEmpty() && ppi == 96) canvas.save(keep);
}

// The page fitted to an 800-pixel-high screen.
void BM_RepaintEffectPage(benchmark::State& state) { repaint(state, 96, 800.0 / 1123.0); }
BENCHMARK(BM_RepaintEffectPage)->Unit(benchmark::kMillisecond);

void BM_EffectPageAt600Dpi(benchmark::State& state) { repaint(state, 600, 1.0); }
BENCHMARK(BM_EffectPageAt600Dpi)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
