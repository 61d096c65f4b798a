// Reading 20,000 product rows from a SQLite file and from an .mdb file through their ODBC
// drivers: the fetch of the whole table as text, the preview (fetch, copy into SQLite in
// memory, condition, GBK cells) and the whole import (the same plus the records built and
// put in place). The dialog's 预览 is timed with every row matching, up to the view painted.
// The .mdb file is written by the fixture script of the tests with the same goods.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <sqlite3.h>

#include "core/blocks/BlockFactory.h"
#include "core/document/CPatDoc.h"
#include "core/records/DatabaseImport.h"
#include "core/records/OdbcConnection.h"
#include "core/records/TableSheet.h"
#include "core/config/VariableNameList.h"
#include "gui/records/DatabaseImportDialog.h"
#include "gui/records/DatabasePreviewModel.h"

namespace pemo {
namespace {

constexpr int kRows = 20000;
const char* const kCondition = "Price > 10 AND Note IS NOT NULL";

struct Files {
    QTemporaryDir dir;
    QString sqlite;
    QString mdb;
    bool made = false;
    bool mdbMade = false;
};

Files& files() {
    static Files* f = [] {
        auto* made = new Files;
        made->mdb = made->dir.filePath(QStringLiteral("goods.mdb"));
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(PEMO_SOURCE_DIR "/tests/data/odbc/make_shop_mdb.py"),
                      QStringLiteral("--rows"), QString::number(kRows), made->mdb});
        made->mdbMade = python.waitForFinished(120000) && python.exitCode() == 0;
        made->sqlite = made->dir.filePath(QStringLiteral("goods.db"));
        sqlite3* db = nullptr;
        if (sqlite3_open(made->sqlite.toUtf8().constData(), &db) != SQLITE_OK) return made;
        sqlite3_exec(db, "CREATE TABLE [商品 表] ([名称] TEXT, [规格] TEXT, [单位] TEXT, [产地] TEXT,"
                         " [Price] MONEY, [OldPrice] MONEY, [Made] DATE, [Note] TEXT, [Qty] INTEGER);"
                         "BEGIN;", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO [商品 表] VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
        for (int i = 1; i <= kRows; ++i) {
            const QByteArray texts[] = {QString::fromUtf8("商品%1").arg(i).toUtf8(),
                                        QString::fromUtf8("规格 %1, 盒装").arg(i % 7 + 1).toUtf8(),
                                        QString::fromUtf8("盒").toUtf8(),
                                        QString::fromUtf8("产地%1").arg(i % 31).toUtf8()};
            for (int c = 0; c < 4; ++c) {
                sqlite3_bind_text(insert, c + 1, texts[c].constData(), int(texts[c].size()), SQLITE_TRANSIENT);
            }
            const double price = 2 + (i * 37 % 500) / 10.0;
            sqlite3_bind_double(insert, 5, price);
            sqlite3_bind_double(insert, 6, price + 1);
            const QByteArray made = QStringLiteral("2026-12-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')).toUtf8();
            sqlite3_bind_text(insert, 7, made.constData(), int(made.size()), SQLITE_TRANSIENT);
            if (i % 10 == 0) sqlite3_bind_null(insert, 8);
            else sqlite3_bind_text(insert, 8, "促销", -1, SQLITE_STATIC);
            sqlite3_bind_int(insert, 9, i % 50);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        made->made = true;
        return made;
    }();
    return *f;
}

DatabaseSelection selection(const QString& path, const QString& table, const QStringList& fields,
                            const QString& condition) {
    DatabaseSelection s;
    s.path = path;
    s.table = table;
    for (qsizetype k = 0; k < fields.size(); ++k) s.fields[size_t(k)] = fields.at(k);
    s.condition = condition;
    return s;
}

enum class Source { Sqlite, Mdb };

// The file of a source, or an empty string when it could not be made.
QString pathOf(Source source) {
    if (source == Source::Mdb) return files().mdbMade ? files().mdb : QString();
    return files().made ? files().sqlite : QString();
}

DatabaseSelection goodsSelection(const QString& path) {
    return selection(path, QString::fromUtf8("商品 表"),
                     {QString::fromUtf8("名称"), QString::fromUtf8("规格"), QString::fromUtf8("单位"),
                      QString::fromUtf8("产地"), "Made", "Note", "Qty", "", "", "", "OldPrice", "Price", ""},
                     QString::fromLatin1(kCondition));
}

void fetch(benchmark::State& state, const QString& path, const QString& table) {
    size_t rows = 0;
    for (auto _ : state) {
        OdbcConnection connection;
        if (!connection.open(path)) return state.SkipWithError(connection.message().toUtf8().constData());
        DatabaseTable out;
        if (!connection.readTable(table, connection.columns(table), out)) {
            return state.SkipWithError(connection.message().toUtf8().constData());
        }
        rows = out.rows.size();
    }
    state.counters["rows"] = double(rows);
}

void BM_Fetch(benchmark::State& state, Source source) {
    const QString path = pathOf(source);
    if (path.isEmpty()) return state.SkipWithError("no database file");
    fetch(state, path, QString::fromUtf8("商品 表"));
}
BENCHMARK_CAPTURE(BM_Fetch, sqlite, Source::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fetch, mdb, Source::Mdb)->Unit(benchmark::kMillisecond);

// What 预览 does before the view shows the first rows.
void BM_Preview(benchmark::State& state, Source source) {
    const QString path = pathOf(source);
    if (path.isEmpty()) return state.SkipWithError("no database file");
    const DatabaseSelection s = goodsSelection(path);
    size_t rows = 0;
    for (auto _ : state) {
        CellTable cells;
        QString message;
        if (!DatabaseImport::read(s, cells, message)) return state.SkipWithError(message.toUtf8().constData());
        rows = cells.rows.size();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK_CAPTURE(BM_Preview, sqlite, Source::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Preview, mdb, Source::Mdb)->Unit(benchmark::kMillisecond);

// 预览 in the dialog with no condition: all 20,000 rows into the model, the view painted.
void BM_DialogPreview(benchmark::State& state, Source source) {
    const QString path = pathOf(source);
    if (path.isEmpty()) return state.SkipWithError("no database file");
    const VariableNameList names = VariableNameList::build();
    DatabaseImportDialog dialog(names);
    dialog.selectFile(path);
    dialog.chooseFile(path);
    dialog.tableBox()->setCurrentIndex(dialog.tableBox()->findText(QString::fromUtf8("商品 表")));
    for (int k : {0, 1, 11}) dialog.targetBox(k)->setCurrentIndex(k == 11 ? 5 : k + 1);
    dialog.show();
    for (auto _ : state) {
        dialog.preview();
        dialog.previewView()->viewport()->repaint();
    }
    state.counters["rows"] = dialog.resultEdit()->text().toDouble();
}
BENCHMARK_CAPTURE(BM_DialogPreview, sqlite, Source::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DialogPreview, mdb, Source::Mdb)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state, Source source) {
    const QString path = pathOf(source);
    if (path.isEmpty()) return state.SkipWithError("no database file");
    registerBlockClasses();
    const DatabaseSelection s = goodsSelection(path);
    for (auto _ : state) {
        state.PauseTiming();
        CPatDoc doc;
        doc.newDocument();
        state.ResumeTiming();
        CellTable cells;
        QString message;
        if (!DatabaseImport::read(s, cells, message)) return state.SkipWithError(message.toUtf8().constData());
        RecordImport import(doc, DatabaseImport::columns(s));
        if (!import.build(TableSheet(std::move(cells), TableSheet::Kind::Text), 1, false)) {
            return state.SkipWithError(import.message().toUtf8().constData());
        }
        import.apply(true);
        benchmark::DoNotOptimize(doc.recordCount());
        state.counters["records"] = double(doc.recordCount());
    }
}
BENCHMARK_CAPTURE(BM_Import, sqlite, Source::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, mdb, Source::Mdb)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pemo

int main(int argc, char** argv) { return pemo::bench::run<QApplication>(argc, argv, pemo::bench::Home::Private); }
