#pragma once

#include <QString>
#include <cstdio>

namespace pemo {

// Exit statuses of the headless commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // a file was refused; the message went to stderr
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFindings = 3;  // --check found something; one line each on stdout
inline constexpr int kExitDuplicateKeys = 3;  // --update: a key stands twice; nothing written

inline void printError(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

}  // namespace pemo
