#pragma once

// For readers that take a path and run their library in a child process: each input is
// written to one scratch file first, and in the child (whose faults end only the child)
// the sanitizer's report and the fuzzer's crash file are turned off.

#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "FuzzHome.h"
#include "core/platform/ChildRun.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)());

namespace pemo::fuzz {

inline QString& scratchFile() {
    static QString path;
    return path;
}

// Called from LLVMFuzzerInitialize; name is the scratch file's name, its extension the
// one the reader expects.
inline void useScratchFile(const char* name) {
    useScratchHome();
    scratchFile() = QString::fromStdString(scratchHome()) + QLatin1Char('/') + QString::fromUtf8(name);
    ChildRun::childSetup = [] { __sanitizer_set_death_callback(nullptr); };
}

inline bool writeScratchFile(const uint8_t* data, size_t size) {
    QFile file(scratchFile());
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

}  // namespace pemo::fuzz
