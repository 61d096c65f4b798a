// Feeds arbitrary bytes to the .xls reader. libfreexl reads from a path, so each input
// is written to one scratch file first. The library runs in a child process, where a
// fault of its own (it trusts the lengths inside a file) ends only the child: the
// sanitizer's report and the fuzzer's crash file are turned off there, and what the
// reader makes of the child's answer is what is fuzzed.
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "FuzzScratchFile.h"
#include "core/platform/FileError.h"
#include "core/records/XlsReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pemo::fuzz::useScratchFile("input.xls");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!pemo::fuzz::writeScratchFile(data, size)) return 0;
    try {
        QStringList names;
        const pemo::CellTable table = pemo::XlsReader::read(pemo::fuzz::scratchFile(), QString(), &names);
        for (const auto& row : table.rows) {
            if (int(row.size()) > table.columns) __builtin_trap();
        }
    } catch (const pemo::FileError&) {
    }
    return 0;
}
