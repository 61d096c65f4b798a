// Feeds arbitrary bytes to the .xls reader. libfreexl reads from a path, so each input
// is written to one scratch file first. The library runs in a child process, where a
// fault of its own (it trusts the lengths inside a file) ends only the child: the
// sanitizer's report and the fuzzer's crash file are turned off there, and what the
// reader makes of the child's answer is what is fuzzed.
#include <QFile>
#include <fcntl.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>

#include "FuzzHome.h"
#include "core/platform/FileError.h"
#include "core/codecs/Archive.h"
#include "core/platform/ChildRun.h"
#include "core/records/XlsReader.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)());

namespace {
QString scratchFile;

void quietChild() {
    __sanitizer_set_death_callback(nullptr);
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0) ::dup2(null, 2);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pemo::fuzz::useScratchHome();
    scratchFile = QString::fromStdString(pemo::fuzz::scratchHome()) + QStringLiteral("/input.xls");
    pemo::ChildRun::childSetup = quietChild;
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
    } catch (const pemo::FileError&) {
    }
    return 0;
}
