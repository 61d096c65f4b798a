#pragma once

// Points the program folder at a private folder for the fuzzing run, so the picture
// copies a reader makes land in a PEMO-TEMP of their own.

#include <QByteArray>
#include <QDir>
#include <cstdlib>
#include <string>

namespace pemo::fuzz {

inline void useScratchHome() {
    std::string pattern = (QDir::tempPath() + QStringLiteral("/pemo-fuzz-XXXXXX")).toStdString();
    if (const char* dir = mkdtemp(pattern.data()))
        qputenv("PEMO_HOME", QByteArray(dir));
}

}  // namespace pemo::fuzz
