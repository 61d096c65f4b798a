#include "CupsQueue.h"

#include <cups/cups.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <algorithm>

#include "core/platform/ProgramInfo.h"
#include "core/platform/RuntimeLibrary.h"

namespace pemo {

namespace {

// Qt's print engine key for extra CUPS job options: name, value, name, value…
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The CUPS client library, opened the first time a queue is asked; without it every
// queue looks empty.
struct CupsClient {
    decltype(&cupsGetJobs2) getJobs = nullptr;
    decltype(&cupsFreeJobs) freeJobs = nullptr;
    decltype(&cupsCancelJob2) cancelJob = nullptr;

    static const CupsClient& get() {
        static const CupsClient client = [] {
            static const RuntimeLibrary library("libcups.so.2");
            CupsClient c;
            c.getJobs = library.function<decltype(cupsGetJobs2)>("cupsGetJobs2");
            c.freeJobs = library.function<decltype(cupsFreeJobs)>("cupsFreeJobs");
            c.cancelJob = library.function<decltype(cupsCancelJob2)>("cupsCancelJob2");
            if (!c.getJobs || !c.freeJobs || !c.cancelJob) c = CupsClient{};
            return c;
        }();
        return client;
    }
    bool loaded() const { return getJobs != nullptr; }
};

// Calls `each` with every job of this user on the queue; `activeOnly` leaves out
// completed and cancelled jobs.
template <typename Each>
void forEachJob(const QString& printer, bool activeOnly, Each each) {
    const CupsClient& cups = CupsClient::get();
    if (!cups.loaded()) return;
    cups_job_t* jobs = nullptr;
    const QByteArray name = printer.toLocal8Bit();
    const int count = cups.getJobs(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 1,
                                   activeOnly ? CUPS_WHICHJOBS_ACTIVE : CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < count; ++i) each(jobs[i]);
    cups.freeJobs(count, jobs);
}

}  // namespace

bool CupsQueue::isQueue(QPrinter& printer) {
    const QPaintEngine* engine = printer.paintEngine();
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty() && engine &&
           engine->type() == QPaintEngine::Pdf;
}

int CupsQueue::newestJob(const QString& printer) {
    int newest = 0;
    forEachJob(printer, false, [&](const cups_job_t& job) { newest = std::max(newest, job.id); });
    return newest;
}

void CupsQueue::holdJob(QPrinter& printer, const QByteArray& title) {
    QPrintEngine* engine = printer.printEngine();
    if (!engine) return;
    QStringList options = engine->property(kCupsOptions).toStringList();
    options << QStringLiteral("job-hold-until") << QStringLiteral("indefinite");
    engine->setProperty(kCupsOptions, options);
    // The job's title is read when the painter ends, so it can still be changed here.
    engine->setProperty(QPrintEngine::PPK_DocumentName, QString::fromUtf8(title));
}

QByteArray CupsQueue::withdrawalTitle() {
    return QByteArray(kProgramName) + ' ' + QByteArray::number(QCoreApplication::applicationPid()) + '-' +
           QByteArray::number(QDateTime::currentMSecsSinceEpoch());
}

int CupsQueue::jobToWithdraw(const std::vector<QueuedJob>& jobs, int after, const QByteArray& title) {
    for (const QueuedJob& job : jobs) {
        if (job.id > after && job.title == title) return job.id;
    }
    return 0;
}

void CupsQueue::withdrawJob(const QString& printer, int after, const QByteArray& title) {
    std::vector<QueuedJob> jobs;
    forEachJob(printer, true, [&](const cups_job_t& job) {
        jobs.push_back({job.id, QByteArray(job.title ? job.title : "")});
    });
    if (const int id = jobToWithdraw(jobs, after, title))
        CupsClient::get().cancelJob(CUPS_HTTP_DEFAULT, printer.toLocal8Bit().constData(), id, 1);
}

}  // namespace pemo
