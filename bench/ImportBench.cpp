// Importing 20,000 product rows of 13 columns: parsing the text, building the records
// on a blank page and on a template of ten blocks, and reading the same rows from .xls
// and .xlsx workbooks (written by tests/data/import/make_fixtures.py); 100,000 records
// on the template, and one 64 KB value on it. Peak memory is reported as the counter
// peak_rss_MB.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/resource.h>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/TemplateFile.h"
#include "core/records/DelimitedText.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {
namespace {

constexpr int kRows = 20000;

double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QByteArray productCsv(int rows = kRows) {
    QByteArray text;
    for (int i = 1; i <= rows; ++i) {
        const double price = 2 + (i * 37 % 500) / 10.0;
        text += QString::fromUtf8("商品%1,\"规格 %2, 盒装\",%300g,盒,一级,产地%4,2026-12-%5,促销%6,,,%7,%8,%9折\n")
                    .arg(i)
                    .arg(i % 7 + 1)
                    .arg(i % 12 + 1)
                    .arg(i % 31)
                    .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                    .arg(i % 5)
                    .arg(price + 1, 0, 'f', 2)
                    .arg(price, 0, 'f', 2)
                    .arg(i % 9 + 1)
                    .toUtf8();
    }
    return text;
}

// The rows as files in one temporary folder, written once.
struct Files {
    QTemporaryDir dir;
    QString csv;
    QString xls;
    QString xlsx;
    QByteArray templateBytes;
    bool workbooks = false;
};

Files& files() {
    static Files* f = [] {
        auto* made = new Files;
        made->csv = made->dir.filePath(QStringLiteral("rows.csv"));
        QFile csv(made->csv);
        if (csv.open(QIODevice::WriteOnly)) csv.write(productCsv());
        made->xls = made->dir.filePath(QStringLiteral("rows.xls"));
        made->xlsx = made->dir.filePath(QStringLiteral("rows.xlsx"));
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(PEMO_SOURCE_DIR "/tests/data/import/make_fixtures.py"),
                      QStringLiteral("--workbooks"), QString::number(kRows), made->dir.path()});
        made->workbooks = python.waitForFinished(300000) && python.exitCode() == 0;

        // A template of ten blocks: seven variables, two prices and a fixed text.
        CPatDoc doc;
        doc.newDocument();
        InfoRecord& page = *doc.currentRecord();
        page.resizePage(100, 70);
        const int32_t kinds[] = {BlockKind::FirstVariable, BlockKind::FirstVariable + 1,
                                 BlockKind::FirstVariable + 2, BlockKind::FirstVariable + 3,
                                 BlockKind::FirstVariable + 5, BlockKind::FirstVariable + 6,
                                 BlockKind::FirstVariable + 7, 0x02040001, 0x02040002,
                                 BlockKind::FixedText};
        for (int b = 0; b < 10; ++b) {
            const int top = 100 + b * 380;
            page.appendBlock(TextBlock::create(kinds[b], {200, top, 5400, top + 340},
                                               Gbk::fromUnicode(QString::fromUtf8("特价商品")), true));
        }
        made->templateBytes = TemplateFile::write(page, doc, "bench");
        return made;
    }();
    return *f;
}

RecordImport::Columns allColumns() {
    RecordImport::Columns columns{};
    for (int i = 0; i < 13; ++i) columns[size_t(i)] = i + 1;
    return columns;
}

void BM_CsvParse(benchmark::State& state) {
    const QByteArray text = productCsv();
    for (auto _ : state) {
        CellTable table = DelimitedText::parse(text, ',');
        benchmark::DoNotOptimize(table.rows.data());
    }
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_CsvParse)->Unit(benchmark::kMillisecond);

// A whole import: the file read, the records built and put in place.
void import(benchmark::State& state, const QString& path, bool onTemplate) {
    registerBlockClasses();
    for (auto _ : state) {
        state.PauseTiming();
        CPatDoc doc;
        doc.newDocument();
        if (onTemplate) {
            doc.newRecordInitializer = [&doc](InfoRecord& record) {
                TemplateFile::read(files().templateBytes, record, doc);
            };
        }
        state.ResumeTiming();
        const TableSheet sheet(path, ',');
        RecordImport import(doc, allColumns());
        if (!import.build(sheet, sheet.isWorkbook() ? 2 : 1, false)) {
            state.SkipWithError(import.message().toUtf8().constData());
            return;
        }
        import.apply(true);
        benchmark::DoNotOptimize(doc.recordCount());
        state.PauseTiming();
        doc.newRecordInitializer = nullptr;
        state.ResumeTiming();
    }
    state.counters["peak_rss_MB"] = peakRssMb();
}

void BM_ImportCsvBlank(benchmark::State& state) { import(state, files().csv, false); }
BENCHMARK(BM_ImportCsvBlank)->Unit(benchmark::kMillisecond);

void BM_ImportCsvTemplate(benchmark::State& state) { import(state, files().csv, true); }
BENCHMARK(BM_ImportCsvTemplate)->Unit(benchmark::kMillisecond)->Iterations(2);

// Records made from rows already read, on the template: what one record costs in time
// and memory (peak_rss_MB grows with the rows while the records are held).
void buildOnTemplate(benchmark::State& state, const QByteArray& csv) {
    registerBlockClasses();
    const TableSheet sheet(DelimitedText::parse(csv, ','), TableSheet::Kind::Text);
    for (auto _ : state) {
        CPatDoc doc;
        doc.newDocument();
        doc.newRecordInitializer = [&doc](InfoRecord& record) {
            TemplateFile::read(files().templateBytes, record, doc);
        };
        RecordImport import(doc, allColumns());
        if (!import.build(sheet, 1, false)) {
            state.SkipWithError(import.message().toUtf8().constData());
            return;
        }
        state.counters["records"] = import.builtCount();
        doc.newRecordInitializer = nullptr;
    }
    state.counters["peak_rss_MB"] = peakRssMb();
}

// One row whose name is as long as a value may be (64 KB), fitted into the template's
// ten blocks.
void BM_LongValueOnTemplate(benchmark::State& state) {
    QByteArray row = QByteArray(64 * 1024, 'x');
    for (int c = 1; c < 13; ++c) row += ",1";
    buildOnTemplate(state, row + "\n");
}
BENCHMARK(BM_LongValueOnTemplate)->Unit(benchmark::kMillisecond);

void BM_ImportXls(benchmark::State& state) {
    if (!files().workbooks) return state.SkipWithError("no workbooks (python3-xlwt/openpyxl)");
    import(state, files().xls, false);
}
BENCHMARK(BM_ImportXls)->Unit(benchmark::kMillisecond);

void BM_ImportXlsx(benchmark::State& state) {
    if (!files().workbooks) return state.SkipWithError("no workbooks (python3-xlwt/openpyxl)");
    import(state, files().xlsx, false);
}
BENCHMARK(BM_ImportXlsx)->Unit(benchmark::kMillisecond);

void BM_Build100000OnTemplate(benchmark::State& state) { buildOnTemplate(state, productCsv(100000)); }
BENCHMARK(BM_Build100000OnTemplate)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv, pemo::bench::Home::Private); }
