// Fitting and typing speed of the rich text with the installed fonts: a 500-character
// mixed Chinese and Latin text in an A4 frame, and 100 KB values (one unbreakable word,
// and Chinese text) in a price tag's frame, which the fit splits into thousands of lines.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QGuiApplication>

#include "core/codecs/Gbk.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

constexpr int kA4Width = 11905;   // 210 mm in twips
constexpr int kA4Height = 16837;  // 297 mm

QByteArray sampleText() {
    const QString piece = QStringLiteral("全场商品八折优惠，Special offer 2024! 会员再享 95 折。");
    QString text;
    while (text.size() < 500)
        text += piece;
    text.truncate(500);
    return Gbk::fromUnicode(text);
}

RichText sampleContent() {
    CharStyle style;
    style.size = 24;  // the block's nominal size, as a new text block has it
    return RichText(kA4Width, kA4Height, sampleText(), style, TextKind::Fixed, 24, 50,
                    RichText::Fill);
}

void BM_FitA4(benchmark::State& state) {
    RichText t = sampleContent();
    for (auto _ : state) {
        t.fitToFrame(true);
        benchmark::DoNotOptimize(t.extent());
    }
    state.counters["fontSize"] = t.fontSize();
}
BENCHMARK(BM_FitA4)->Unit(benchmark::kMillisecond);

void BM_TypeCharacterAndFit(benchmark::State& state) {
    RichText t = sampleContent();
    t.fitToFrame(true);
    t.setSelection({250, true}, {250, true});
    for (auto _ : state) {
        t.typeCharacter(0xD6, 0xD0);  // 中
        t.fitToFrame(true);
        state.PauseTiming();
        t.deleteBackward();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypeCharacterAndFit)->Unit(benchmark::kMillisecond);

void BM_Layout(benchmark::State& state) {
    RichText t = sampleContent();
    for (auto _ : state) {
        t.layout();
        benchmark::DoNotOptimize(t.extent());
    }
}
BENCHMARK(BM_Layout)->Unit(benchmark::kMicrosecond);

void fitLongValue(benchmark::State& state, const QByteArray& value) {
    CharStyle style;
    style.size = 24;
    RichText t(5400, 340, value, style, TextKind::Fixed, 24, 50, RichText::Fill);
    for (auto _ : state) {
        t.fitToFrame(true);
        benchmark::DoNotOptimize(t.extent());
    }
    state.counters["items"] = t.itemCount();
}

void BM_FitLongWord100KB(benchmark::State& state) { fitLongValue(state, QByteArray(100 * 1024, 'x')); }
BENCHMARK(BM_FitLongWord100KB)->Unit(benchmark::kMillisecond);

void BM_FitChinese100KB(benchmark::State& state) {
    QByteArray value;
    while (value.size() < 100 * 1024)
        value += sampleText();
    fitLongValue(state, value);
}
BENCHMARK(BM_FitChinese100KB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
