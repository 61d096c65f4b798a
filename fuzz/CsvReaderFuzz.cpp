// Feeds arbitrary bytes to the delimited-text reader: the first byte picks the
// separator, the rest is the file.
#include <cstddef>
#include <cstdint>

#include "core/platform/FileError.h"
#include "core/codecs/Archive.h"
#include "core/records/DelimitedText.h"
#include "core/records/TableSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static constexpr char kSeparators[] = {',', ';', ':', '?', '.', '\t'};
    const char separator = kSeparators[data[0] % sizeof kSeparators];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        pemo::TableSheet sheet(pemo::DelimitedText::parse(bytes, separator),
                               pemo::TableSheet::Kind::Text);
        // Every row and column the sheet reports must be readable.
        QByteArray cell;
        for (int r = 1; r <= sheet.totalRows(); ++r) {
            sheet.readCell(sheet.totalColumns(), r, cell);
            sheet.readCell(1, r, cell);
        }
    } catch (const pemo::FileError&) {
    }
    return 0;
}
