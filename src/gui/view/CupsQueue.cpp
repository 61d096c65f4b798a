#include "CupsQueue.h"

#include <cups/cups.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <algorithm>

#include "core/platform/ProgramInfo.h"

namespace pemo {

namespace {

// Qt's print engine key for extra CUPS job options: name, value, name, value…
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Calls `each` with every job of this user on the queue; `activeOnly` leaves out
// completed and cancelled jobs.
template <typename Each>
void forEachJob(const QString& printer, bool activeOnly, Each each) {
    cups_job_t* jobs = nullptr;
    const QByteArray name = printer.toLocal8Bit();
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 1,
                                   activeOnly ? CUPS_WHICHJOBS_ACTIVE : CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < count; ++i) each(jobs[i]);
    cupsFreeJobs(count, jobs);
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
        cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.toLocal8Bit().constData(), id, 1);
}

}  // namespace pemo
