// Feeds arbitrary bytes to the .xls reader. libfreexl reads from a path, so each input
// is written to one scratch file first.
#include <QFile>
#include <cstddef>
#include <cstdint>

#include "FuzzHome.h"
#include "core/codecs/Archive.h"
#include "core/records/XlsReader.h"

namespace {
QString scratchFile;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pemo::fuzz::useScratchHome();
    scratchFile = QString::fromStdString(pemo::fuzz::scratchHome()) + QStringLiteral("/input.xls");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QFile file(scratchFile);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    try {
        QStringList names;
        const pemo::CellTable table = pemo::XlsReader::read(scratchFile, QString(), &names);
        for (const auto& row : table.rows) {
            if (int(row.size()) > table.columns) __builtin_trap();
        }
    } catch (const pemo::FormatError&) {
    }
    return 0;
}
