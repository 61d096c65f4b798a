#pragma once

#include <QString>

class QPrinter;

namespace pemo {

// The few dealings with a CUPS print queue that Qt does not offer. Qt's CUPS printer
// writes a job as PDF and hands it to the queue when the painter ends, and it cannot
// abort: a job the user cancels half-way is handed over held, and withdrawn at once.
class CupsQueue {
public:
    // Whether the printer's jobs go to a CUPS queue.
    static bool isQueue(QPrinter& printer);
    // The newest job this user has on the printer's queue; 0 when none or no server.
    static int newestJob(const QString& printer);
    // Asks the queue to hold the job being drawn instead of printing it. Call before
    // the painter ends.
    static void holdJob(QPrinter& printer);
    // Cancels and removes this user's newest unfinished job on the queue when it is newer
    // than `after`: the job just handed over.
    static void withdrawNewestJobAfter(const QString& printer, int after);
};

}  // namespace pemo
