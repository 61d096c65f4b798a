#pragma once

// Points the program folder at a private folder for the fuzzing run, so the picture
// copies a reader makes land in a PEMO-TEMP of their own; the folder is removed when
// the run ends.

#include <QByteArray>
#include <QDir>
#include <cstdlib>
#include <string>

namespace pemo::fuzz {

inline std::string& scratchHome() {
    static std::string path;
    return path;
}

inline void useScratchHome() {
    std::string pattern = (QDir::tempPath() + QStringLiteral("/pemo-fuzz-XXXXXX")).toStdString();
    if (!mkdtemp(pattern.data())) return;
    scratchHome() = pattern;
    qputenv("PEMO_HOME", QByteArray::fromStdString(pattern));
    std::atexit([] { QDir(QString::fromStdString(scratchHome())).removeRecursively(); });
}

}  // namespace pemo::fuzz
