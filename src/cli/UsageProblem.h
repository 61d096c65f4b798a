#pragma once

#include <QString>

namespace pemo {

// Why a command line was refused: the text told before the usage text (none when the
// usage alone answers), and whether the usage text follows it. Either way the program
// exits with kExitUsage.
struct UsageProblem {
    QString text;
    bool withUsage = true;
};

}  // namespace pemo
