// Repaint speed of the canvas with the installed fonts: a page of 60 text blocks
// (Chinese and Latin mixed, prices, a few turned and a few vertical) drawn block by
// block, in drawing order, onto a bitmap the size the default page takes when it is
// fitted to a 1280 × 800 screen. Target: under 30 ms per repaint.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "core/blocks/BlockKind.h"
#include "core/blocks/BlockList.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/InfoRecord.h"
#include "core/document/PageDrawing.h"
#include "core/pictures/PictureStore.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

constexpr int kScreenPpi = 96;
constexpr int kScreenHeight = 800;

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

const char* const kTexts[] = {
    "金龙鱼调和油 5L",  "Special Offer",    "蒙牛纯牛奶 250ml×24", "全场八折 20% OFF",
    "海飞丝洗发露",     "New Arrival 新品", "五常大米 10kg",        "会员价 VIP only",
    "限时抢购",         "Buy 2 get 1 free", "进口红酒 Bordeaux",    "特价",
};
const char* const kPrices[] = {"69.90", "59.80", "32.90", "99.00", "128.00", "8.5"};

// The default page (190 × 280 mm) in a 6 × 10 grid of blocks.
void fillPage(InfoRecord& r) {
    r.setValue(0, gbk("金龙鱼调和油"));
    r.setValue(InfoRecord::kOriginalPrice, "89.90");
    r.setValue(InfoRecord::kCurrentPrice, "69.90");
    r.setValue(InfoRecord::kDiscount, gbk("7.8折"));
    const int columns = 6;
    const int rows = 10;
    const int cellW = r.widthTw / columns;
    const int cellH = r.heightTw / rows;
    for (int i = 0; i < columns * rows; ++i) {
        const int col = i % columns;
        const int row = i / columns;
        const TwipsRect rect{col * cellW + 60, row * cellH + 60, (col + 1) * cellW - 60,
                             (row + 1) * cellH - 60};
        std::unique_ptr<TextBlock> block;
        if (i % 5 == 4) {
            const int32_t kind = BlockKind::OriginalPrice + (i / 5) % 3;
            block = TextBlock::create(kind, rect, QByteArray(kPrices[i % 6]), true);
        } else if (i == 1 || i == 30) {
            block = TextBlock::create(BlockKind::FirstVariable, rect,
                                      r.placeholderText(BlockKind::FirstVariable, false, {}), true);
        } else {
            block = TextBlock::create(BlockKind::FixedText, rect, gbk(kTexts[i % 12]), true);
        }
        if (i % 11 == 3) {
            block->content()->setVertical(true);
            block->content()->fitToFrame(true);
        }
        if (i % 9 == 7) {
            // Turned by about 30 degrees, or a quarter turn.
            const QPoint p0 = block->corners().p0;
            if (i % 2) {
                block->rotateTowards(p0.x() + 1732, p0.y() - 1000);
            } else {
                block->rotateTowards(p0.x(), p0.y() - 1000);
            }
            block->clearHandles();
        }
        r.appendBlock(std::move(block));
    }
}

struct Page {
    InfoRecord record;
    double zoom = 1.0;
    QImage canvas;

    Page() {
        fillPage(record);
        zoom = double(kScreenHeight) * 1440 / (double(record.heightTw) * kScreenPpi);
        const int width = int(record.widthTw * kScreenPpi * zoom / 1440);
        canvas = QImage(width, kScreenHeight, QImage::Format_RGB32);
        const int dpm = qRound(kScreenPpi / 0.0254);
        canvas.setDotsPerMeterX(dpm);
        canvas.setDotsPerMeterY(dpm);
    }

    void repaint(int flags) {
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        forEachInDrawingOrder(record.blocks, [&](Block& b) { b.draw(p, flags, zoom, 0, 0); });
    }
};

Page& page() {
    static Page p;
    return p;
}

void BM_PageRepaint(benchmark::State& state) {
    Page& p = page();
    const int flags = int(state.range(0));
    for (auto _ : state) {
        p.repaint(flags);
        benchmark::DoNotOptimize(p.canvas.constBits());
    }
    state.counters["blocks"] = double(p.record.blocks.size());
    state.counters["width"] = p.canvas.width();
    state.counters["height"] = p.canvas.height();
}
// 8: the selection tool is armed; 10: frame lines shown as well.
BENCHMARK(BM_PageRepaint)->Arg(DrawFlag::SelectionTool)
    ->Arg(DrawFlag::SelectionTool | DrawFlag::FrameLines)
    ->Unit(benchmark::kMillisecond);

// Repaint with one block selected and its grips shown, as while it is being dragged.
void BM_PageRepaintWithSelection(benchmark::State& state) {
    Page& p = page();
    Block& chosen = *p.record.blocks[7];
    p.record.selectBlock(&chosen);
    for (auto _ : state) {
        p.repaint(DrawFlag::SelectionTool);
        benchmark::DoNotOptimize(p.canvas.constBits());
    }
    p.record.clearSelection();
}
BENCHMARK(BM_PageRepaintWithSelection)->Unit(benchmark::kMillisecond);

// For comparison: the same page printed at 150 pixels per inch in bands.
void BM_PageOutput150(benchmark::State& state) {
    Page& p = page();
    for (auto _ : state) {
        QImage image = renderPageImage(p.record, PictureStore(), 150, false, false);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PageOutput150)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // PEMO_BENCH_CANVAS=file.png keeps the last repaint for a look.
    return pemo::bench::run<QGuiApplication>(argc, argv, pemo::bench::Home::Shared, [] {
        const QString keep = qEnvironmentVariable("PEMO_BENCH_CANVAS");
        if (keep.isEmpty()) return;
        page().repaint(DrawFlag::SelectionTool | DrawFlag::FrameLines);
        page().canvas.save(keep);
    });
}
