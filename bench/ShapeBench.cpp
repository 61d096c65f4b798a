// Speed of drawn shapes. Targets: repainting an A4 page of 50 shapes (every kind, half
// with shadows) and 10 text blocks at the zoom that fits it to a 1280 × 800 screen
// under 15 ms; one rubber-band step while a polygon is drawn under 8 ms; opening a
// document of 1,000 shapes of 100 points each under 100 ms.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/BlockList.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/InfoRecord.h"
#include "core/graphics/ShapeGeometry.h"

using namespace pemo;

namespace {

constexpr int kScreenPpi = 96;
constexpr int kScreenHeight = 800;

const int32_t kKinds[] = {
    BlockKind::Line,        BlockKind::Polyline,  BlockKind::Curve,     BlockKind::Ellipse,
    BlockKind::RoundRect,   BlockKind::Triangle,  BlockKind::Polygon,   BlockKind::ClosedCurve,
    BlockKind::Rectangle,   0x01000011, 0x01000012, 0x01000013, 0x01000014, 0x01000015,
    0x01000016, 0x01000017, 0x01000018, 0x01000019, 0x0100001A, 0x0100001B, 0x0100001C,
    0x01000021, 0x01000022, 0x01000023, 0x01000024,
};

// Points of a kind in a w × h box (twips).
std::vector<QPoint> pointsFor(int32_t kind, int w, int h) {
    if (kind >= BlockKind::FirstStarTool) return ShapeGeometry::starPoints(kind, {0, 0}, {w, h});
    switch (kind) {
        case BlockKind::Polyline:
        case BlockKind::Curve:
        case BlockKind::ClosedCurve:
        case BlockKind::Polygon:
        case BlockKind::Triangle:
            return {{0, h}, {w / 4, 0}, {w / 2, h / 2}, {3 * w / 4, 0}, {w, h}, {w / 2, h}};
        default: return {{0, 0}, {w, h}, {w / 4, h / 4}};
    }
}

std::unique_ptr<GraphicBlock> makeShape(int32_t kind, TwipsRect frame, int index) {
    auto b = std::make_unique<GraphicBlock>();
    b->kind = kind >= BlockKind::FirstStarTool ? BlockKind::Polygon : kind;
    b->frame = frame;
    b->sizeWidth = frame.width();
    b->sizeHeight = frame.height();
    b->points = pointsFor(kind, frame.width(), frame.height());
    b->penWidth = 1 + index % 3;
    b->penColour = 0x1E16C8;
    b->fillColour = 0x40D0FF;
    b->fillType = index % 4 == 3 ? index % 6 : 1001;
    b->shadowDirection = int16_t(index % 2 ? 1 + index / 2 % 4 : 0);
    return b;
}

struct Page {
    InfoRecord record;
    double zoom = 1.0;
    QImage canvas;

    Page() {
        const int columns = 6, rows = 10;
        const int cellW = record.widthTw / columns, cellH = record.heightTw / rows;
        int shapes = 0;
        for (int i = 0; i < 60; ++i) {
            const int col = i % columns, row = i / columns;
            const TwipsRect rect{col * cellW + 80, row * cellH + 80, (col + 1) * cellW - 80,
                                 (row + 1) * cellH - 80};
            if (i % 6 == 5) {
                record.appendBlock(
                    TextBlock::create(BlockKind::FixedText, rect,
                                      Gbk::fromUnicode(QString::fromUtf8("特价 9.9")), true));
            } else {
                record.appendBlock(makeShape(kKinds[shapes % std::size(kKinds)], rect, shapes));
                ++shapes;
            }
        }
        zoom = double(kScreenHeight) * 1440 / (double(record.heightTw) * kScreenPpi);
        const int width = int(record.widthTw * kScreenPpi * zoom / 1440);
        canvas = QImage(width, kScreenHeight, QImage::Format_RGB32);
        const int dpm = qRound(kScreenPpi / 0.0254);
        canvas.setDotsPerMeterX(dpm);
        canvas.setDotsPerMeterY(dpm);
    }
};

void BM_RepaintShapePage(benchmark::State& state) {
    static Page page;
    int shadows = 0;
    for (const auto& b : page.record.blocks) {
        if (auto* g = dynamic_cast<GraphicBlock*>(b.get()); g && g->shadowDirection) ++shadows;
    }
    for (auto _ : state) {
        page.canvas.fill(Qt::white);
        QPainter p(&page.canvas);
        forEachInDrawingOrder(page.record.blocks, [&](Block& b) {
            b.draw(p, DrawFlag::SelectionTool, page.zoom, 0, 0);
        });
        p.end();
        benchmark::DoNotOptimize(page.canvas.constBits());
    }
    state.counters["blocks"] = double(page.record.blocks.size());
    state.counters["shadows"] = shadows;
    const QString keep = qEnvironmentVariable("PEMO_BENCH_SHAPES");
    if (!keep.isEmpty()) page.canvas.save(keep);
}
BENCHMARK(BM_RepaintShapePage)->Unit(benchmark::kMillisecond);

// One step of the rubber band as the canvas paints it: the page repainted and the
// polygon of 20 clicked points and the mouse point drawn over it in wire mode.
void BM_PolygonRubberBandStep(benchmark::State& state) {
    static Page page;
    GraphicBlock band;
    band.kind = BlockKind::Polygon;
    for (int i = 0; i < 20; ++i) {
        band.points.emplace_back(300 + int(250 * std::cos(i * 0.314)),
                                 400 + int(250 * std::sin(i * 0.314)));
    }
    band.points.emplace_back(300, 400);
    int step = 0;
    for (auto _ : state) {
        band.points.back() = QPoint(300 + step % 200, 400 + step % 150);
        ++step;
        page.canvas.fill(Qt::white);
        QPainter p(&page.canvas);
        forEachInDrawingOrder(page.record.blocks, [&](Block& b) {
            b.draw(p, DrawFlag::SelectionTool, page.zoom, 0, 0);
        });
        band.draw(p, DrawFlag::Wire, 1.0, 0, 0);
        p.end();
        benchmark::DoNotOptimize(page.canvas.constBits());
    }
}
BENCHMARK(BM_PolygonRubberBandStep)->Unit(benchmark::kMillisecond);

// Opening a document whose page holds 1,000 shapes of 100 points each.
void BM_OpenThousandShapes(benchmark::State& state) {
    registerBlockClasses();
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r = *doc.currentRecord();
    for (int i = 0; i < 1000; ++i) {
        auto b = makeShape(BlockKind::Polygon, {i * 10, i * 10, i * 10 + 2000, i * 10 + 1500}, i);
        b->points.clear();
        for (int k = 0; k < 100; ++k) {
            b->points.emplace_back(1000 + int((900 - i % 97) * std::cos(k * 0.0628 + i)),
                                   750 + int((700 - i % 89) * std::sin(k * 0.0628 + i)));
        }
        r.appendBlock(std::move(b));
    }
    const QByteArray file = DocumentFile::write(doc);
    for (auto _ : state) {
        CPatDoc opened;
        DocumentFile::read(opened, file);
        benchmark::DoNotOptimize(opened.currentRecord());
    }
    state.counters["bytes"] = double(file.size());
}
BENCHMARK(BM_OpenThousandShapes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
