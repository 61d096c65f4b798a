// Speed of art text with the installed fonts:
// - repainting 200 characters of art text (warps, soft shadows) on an A4 page fitted to
//   a 1280 × 800 screen (target: under 40 ms);
// - capturing the glyph outlines of 200 characters for 文字图形化 (under 50 ms);
// - an A4 sign of art text drawn for output at 600 dpi with effect size 3 (under 3 s).
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/graphics/TextOutline.h"
#include "core/text/OutlineCapture.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

constexpr int kA4Width = 11905;   // 210 mm in twips
constexpr int kA4Height = 16837;  // 297 mm
constexpr int kScreenHeight = 800;
constexpr int kScreenPpi = 96;

QByteArray sampleText(int characters) {
    const QString piece = QStringLiteral("全场商品八折优惠Special offer会员再享九五折新品上市");
    QString text;
    while (text.size() < characters)
        text += piece;
    text.truncate(characters);
    return Gbk::fromUnicode(text);
}

// 200 characters of one effect filling an A4 frame.
RichText artContent(int effect, int size) {
    CharStyle style;
    style.size = 24;
    RichText t(kA4Width, kA4Height, sampleText(200), style, TextKind::Fixed, 24, 25,
               RichText::Fill);
    t.selectAll();
    CharStyle art = t.item(0).style;
    art.textColour = 0x0000FF;
    art.effectColour = 0x808080;
    art.effect = effect;
    art.effectSize = size;
    art.pattern = 17;
    t.applyArtSettings(art, true);
    t.setSelection({0, true}, {0, true});
    t.fitToFrame(true);
    return t;
}

void BM_RepaintFittedPage(benchmark::State& state) {
    const RichText t = artContent(int(state.range(0)), 1);
    const double zoom = double(kScreenHeight) * 1440 / (double(kA4Height) * kScreenPpi);
    QImage screen(int(kA4Width * kScreenPpi * zoom / 1440), kScreenHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        screen.fill(Qt::white);
        QPainter p(&screen);
        t.draw(p, TextDevice{zoom, 0, 0, kScreenPpi, kScreenPpi}, false);
    }
    state.counters["fontSize"] = t.fontSize();
}
// Soft shadow, arch, barrel, sine wave, double border, pattern fill.
BENCHMARK(BM_RepaintFittedPage)->Arg(9)->Arg(26)->Arg(24)->Arg(36)->Arg(7)->Arg(40)
    ->Unit(benchmark::kMillisecond);

void BM_CaptureOutlines(benchmark::State& state) {
    const RichText t = artContent(0, 1);
    size_t points = 0;
    for (auto _ : state) {
        TextOutline o;
        OutlineCapture::captureOutlines(t, o);
        points = 0;
        for (const OutlinePiece& p : o.pieces)
            points += p.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = double(points);
}
BENCHMARK(BM_CaptureOutlines)->Unit(benchmark::kMillisecond);

// An A4 sign of six text blocks of eight characters, size 3, at 600 dpi: one effect per
// block (argument -1), or the same effect in all six.
void BM_A4SignAt600Dpi(benchmark::State& state) {
    const int mixed[] = {9, 26, 7, 36, 40, 41};
    std::vector<std::unique_ptr<TextBlock>> blocks;
    const int rowHeight = kA4Height / 6;
    for (int i = 0; i < 6; ++i) {
        auto b = TextBlock::create(TextKind::Fixed, {0, i * rowHeight, kA4Width, (i + 1) * rowHeight},
                                   sampleText(8), true);
        RichText& t = *b->content();
        t.selectAll();
        CharStyle art = t.item(0).style;
        art.textColour = 0x0000FF;
        art.effectColour = 0x808080;
        art.effect = state.range(0) < 0 ? mixed[i] : int(state.range(0));
        art.effectSize = 3;
        art.pattern = 17;
        t.applyArtSettings(art, true);
        t.setSelection({0, true}, {0, true});
        blocks.push_back(std::move(b));
    }
    constexpr int kDpi = 600;
    QImage page(kA4Width * kDpi / 1440, kA4Height * kDpi / 1440, QImage::Format_RGB32);
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter p(&page);
        for (auto& b : blocks)
            b->drawForOutput(p, 1.0, 0, 0, kDpi);
    }
    state.counters["fontSize"] = blocks.front()->content()->fontSize();
}
BENCHMARK(BM_A4SignAt600Dpi)->Arg(-1)->Arg(9)->Arg(7)->Arg(26)->Arg(41)
    ->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
