// Feeds arbitrary bytes to the database import as a file: the drivers read from a path,
// so each input is written to one scratch file first. The first bytes choose the driver
// (Access files are read in a child process, SQLite files here); the tables tried are
// those of the seed files (fuzz/make_corpus.sh) and a saved query of the .mdb seed, each
// with a condition on its first column, so that a mutated seed reaches the rows, the
// query and the condition.
#include <cstddef>
#include <cstdint>

#include "FuzzScratchFile.h"
#include "core/records/DatabaseImport.h"
#include "core/records/DatabaseSource.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pemo::fuzz::useScratchFile("input.db");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!pemo::fuzz::writeScratchFile(data, size)) return 0;
    const QString& scratchFile = pemo::fuzz::scratchFile();
    pemo::ChildRun::Limits quick;
    quick.milliseconds = 2000;
    for (const char* table : {"商品 价格", "商品 表", "Users", "特价商品"}) {
        std::vector<pemo::DatabaseColumn> columns;
        QString message;
        const QString name = QString::fromUtf8(table);
        if (!pemo::DatabaseSource::columns(scratchFile, name, columns, message, quick)) continue;
        if (columns.empty()) __builtin_trap();
        pemo::DatabaseSelection selection;
        selection.path = scratchFile;
        selection.table = name;
        for (size_t k = 0; k < columns.size() && k < selection.fields.size(); ++k) {
            selection.fields[k] = columns[k].name;
        }
        selection.condition = QLatin1Char('[') + columns.front().name + QStringLiteral("] IS NOT NULL");
        pemo::CellTable cells;
        if (pemo::DatabaseImport::read(selection, cells, message)) {
            for (const auto& row : cells.rows) {
                if (int(row.size()) > cells.columns) __builtin_trap();
            }
        }
    }
    return 0;
}
