#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QPrinter;

namespace pemo {

// The few dealings with a CUPS print queue that Qt does not offer. Qt's CUPS printer
// writes a job as PDF and hands it to the queue when the painter ends, and it cannot
// abort: a job the user cancels half-way is handed over held, under a title no other
// job has, and withdrawn at once by the id the queue gave it.
class CupsQueue {
public:
    // Whether the printer's jobs go to a CUPS queue.
    static bool isQueue(QPrinter& printer);
    // The newest job this user has on the printer's queue; 0 when none or no server.
    static int newestJob(const QString& printer);
    // Asks the queue to hold the job being drawn instead of printing it, under the given
    // title. Call before the painter ends.
    static void holdJob(QPrinter& printer, const QByteArray& title);
    // Cancels and removes this user's unfinished job with that title on the queue when
    // it is newer than `after`: the job just handed over, never another's.
    static void withdrawJob(const QString& printer, int after, const QByteArray& title);

    // A title for one cancelled job: the program's, this process's and the moment's.
    static QByteArray withdrawalTitle();

    struct QueuedJob {
        int id = 0;
        QByteArray title;
    };
    // Of the unfinished jobs, the id of the one newer than `after` with that title;
    // 0 when there is none.
    static int jobToWithdraw(const std::vector<QueuedJob>& jobs, int after, const QByteArray& title);
};

}  // namespace pemo
