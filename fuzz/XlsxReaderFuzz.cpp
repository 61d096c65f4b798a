// Feeds arbitrary bytes to the .xlsx reader (ZIP archive, then XML parts).
#include <cstddef>
#include <cstdint>

#include "core/platform/FileError.h"
#include "core/codecs/Archive.h"
#include "core/records/XlsxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const pemo::CellTable table = pemo::XlsxReader::read(bytes, QString());
        for (const auto& row : table.rows) {
            if (int(row.size()) > table.columns || int(row.size()) > pemo::XlsxReader::kMaxColumns) {
                __builtin_trap();
            }
        }
    } catch (const pemo::FileError&) {
    }
    return 0;
}
