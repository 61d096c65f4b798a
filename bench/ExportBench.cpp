// Exporting 20,000 product records of 13 values to delimited text and to an .xlsx
// workbook, and printing their list to a PDF. Peak memory is reported as the counter
// peak_rss_MB (the list keeps only texts and row heights, so it stays flat).
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <sys/resource.h>

#include "core/blocks/BlockFactory.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintTable.h"
#include "core/records/RecordExport.h"

namespace pemo {
namespace {

constexpr int kRecords = 20000;

double peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

const CPatDoc& products() {
    static CPatDoc* doc = [] {
        registerBlockClasses();
        auto* d = new CPatDoc;
        d->newDocument();
        for (int i = 1; i <= kRecords; ++i) {
            if (i > 1) d->records.push_back(d->newRecord());
            InfoRecord& r = *d->records.back();
            const double price = 2 + (i * 37 % 500) / 10.0;
            r.values[0] = Gbk::fromUnicode(QString::fromUtf8("商品%1").arg(i));
            r.values[1] = Gbk::fromUnicode(QString::fromUtf8("规格 %1, \"盒装\"").arg(i % 7 + 1));
            r.values[2] = QByteArray::number(i % 12 + 1) + "00g";
            r.values[3] = Gbk::fromUnicode(QString::fromUtf8("产地%1").arg(i % 31));
            r.values[4] = "2026-12-" + QByteArray::number(i % 28 + 1);
            r.values[10] = QByteArray::number(price + 1, 'f', 2);
            r.values[11] = QByteArray::number(price, 'f', 2);
            r.values[12] = Gbk::fromUnicode(QString::fromUtf8("%1折").arg(i % 9 + 1));
        }
        return d;
    }();
    return *doc;
}

const std::vector<int> kAll = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

void BM_ExportText(benchmark::State& state) {
    const CPatDoc& doc = products();
    QTemporaryDir dir;
    for (auto _ : state) RecordExport::writeText(doc, kAll, ',', dir.filePath(QStringLiteral("p.csv")));
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_ExportText)->Unit(benchmark::kMillisecond);

void BM_ExportXlsx(benchmark::State& state) {
    const CPatDoc& doc = products();
    QTemporaryDir dir;
    for (auto _ : state) {
        RecordExport::writeWorkbook(doc, kAll, QStringLiteral("Sheet1"), dir.filePath(QStringLiteral("p.xlsx")));
    }
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond);

void BM_PrintListPdf(benchmark::State& state) {
    const CPatDoc& doc = products();
    QTemporaryDir dir;
    const double before = peakRssMb();
    int pages = 0;
    for (auto _ : state) {
        PrintTable table(doc, {false, false});
        QString error;
        if (!PdfOutput::write(table, dir.filePath(QStringLiteral("list.pdf")), QSizeF(210, 297), 300, &error)) {
            state.SkipWithError(error.toUtf8().constData());
        }
        pages = int(table.pageStarts(PrintTable::geometry(300, 2362, 3390)).size());
    }
    state.counters["pages"] = pages;
    state.counters["rss_growth_MB"] = peakRssMb() - before;
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(BM_PrintListPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QGuiApplication>(argc, argv); }
