#pragma once

#include <QByteArray>
#include <functional>

namespace pemo {

// Runs a piece of work in a forked child process and hands back the bytes it returns:
// for libraries that trust the lengths inside a file, or can loop or grow without end
// on a damaged one. The child gets a time limit (it is killed when it runs over) and a
// limit on the memory it may add to what the program held when it was forked; its
// standard error goes nowhere (some libraries report every damaged page there).
class ChildRun {
public:
    struct Limits {
        int milliseconds = 8000;
        qint64 memoryBytes = qint64(512) * 1024 * 1024;
    };
    enum class Outcome {
        Done,        // the work finished; its bytes are in out
        Failed,      // the child died, threw or could not be started
        OverLimits,  // it ran out of its time or its memory
    };

    static Outcome run(const std::function<QByteArray()>& work, const Limits& limits, QByteArray& out);

    // When set, runs first in every child. The fuzz targets use it to keep a fault
    // inside a library from being reported as one of ours.
    static void (*childSetup)();
};

}  // namespace pemo
