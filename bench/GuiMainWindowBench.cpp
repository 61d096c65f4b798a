// The main window's own costs: building the window with its bars and showing the sample
// document (target under 1.5 s for the whole start-up), opening a font box with every
// installed face (under 200 ms) and the font boxes following a caret move (under 2 ms).
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>

#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/InfoRecord.h"
#include "core/text/RichText.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/app/FontNameBox.h"
#include "gui/app/MainToolBars.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"

using namespace pemo;

namespace {

const QString kSample = QString::fromUtf8(PEMO_SOURCE_DIR "/resources/program/样本/促销样本.vxq");

struct Window {
    Window() : main(app, doc) {
        doc.newDocument();
        main.resize(1280, 900);
        main.show();
        QApplication::processEvents();
    }
    CPatApp app;
    CPatDoc doc;
    CPatMain main;
};

// The first opening in the process: every listed face is loaded for the first time.
void FirstOpenOfBothFontBoxes(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Window w;
        state.ResumeTiming();
        for (FontNameBox* box :
             {w.main.toolBars()->chineseBox(), w.main.toolBars()->westernBox()}) {
            box->setEnabled(true);
            box->showPopup();
            QApplication::processEvents();
            benchmark::DoNotOptimize(box->view()->grab());
            box->hidePopup();
        }
    }
}
BENCHMARK(FirstOpenOfBothFontBoxes)->Unit(benchmark::kMillisecond)->Iterations(1);

void MainWindowWithSample(benchmark::State& state) {
    for (auto _ : state) {
        CPatApp app;
        CPatDoc doc;
        auto* main = new CPatMain(app, doc);
        DocumentFile::open(doc, kSample);
        doc.notify(CPatDoc::Change::Records);
        main->resize(1280, 900);
        main->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(main->grab());
        delete main;
    }
}
BENCHMARK(MainWindowWithSample)->Unit(benchmark::kMillisecond)->Iterations(5);

// Opening and closing one font box listing every installed face.
void openFontBox(benchmark::State& state, FontNameBox* (MainToolBars::*which)() const) {
    Window w;
    FontNameBox* box = (w.main.toolBars()->*which)();
    box->setEnabled(true);
    state.counters["faces"] = box->count();
    for (auto _ : state) {
        box->showPopup();
        QApplication::processEvents();
        benchmark::DoNotOptimize(box->view()->grab());
        box->hidePopup();
        QApplication::processEvents();
    }
}

void OpenChineseFontBox(benchmark::State& state) {
    openFontBox(state, &MainToolBars::chineseBox);
}
BENCHMARK(OpenChineseFontBox)->Unit(benchmark::kMillisecond);

void OpenWesternFontBox(benchmark::State& state) {
    openFontBox(state, &MainToolBars::westernBox);
}
BENCHMARK(OpenWesternFontBox)->Unit(benchmark::kMillisecond);

// A caret moving through text of two styles: the boxes change their selection each step.
void UpdateTextCombosOnCaretMove(benchmark::State& state) {
    Window w;
    InfoRecord& record = *w.doc.currentRecord();
    Block& block = record.appendBlock(TextBlock::create(
        BlockKind::FixedText, {0, 0, 9000, 3000},
        Gbk::fromUnicode(QString::fromUtf8("特价鲜牛奶 Fresh milk 19.90")), false));
    auto& text = static_cast<TextBlock&>(block);
    RichText& content = *text.content();
    content.selectAll();
    content.applyStyle(RichText::Size, 120, false);
    record.selectBlock(&block);
    w.main.view()->canvas()->startEditing();
    int step = 0;
    for (auto _ : state) {
        const TextPosition at{step % 2 == 0 ? 1 : 12, true};
        content.setSelection(at, at);
        content.syncTypingStyle();
        content.typingStyle.edit().size = step % 2 == 0 ? 120 : 48;
        content.typingStyle.edit().chineseFace =
            Gbk::fromUnicode(QString::fromUtf8(step % 2 == 0 ? "黑体" : "楷体_GB2312"));
        w.main.updateTextCombos();
        ++step;
    }
}
BENCHMARK(UpdateTextCombosOnCaretMove)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
