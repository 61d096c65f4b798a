#include "CupsQueue.h"

#include <cups/cups.h>

#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <algorithm>

namespace pemo {

namespace {

// Qt's print engine key for extra CUPS job options: name, value, name, value…
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Calls `each` with the id of every job of this user on the queue; `activeOnly` leaves
// out completed and cancelled jobs.
template <typename Each>
void forEachJob(const QString& printer, bool activeOnly, Each each) {
    cups_job_t* jobs = nullptr;
    const QByteArray name = printer.toLocal8Bit();
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 1,
                                   activeOnly ? CUPS_WHICHJOBS_ACTIVE : CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < count; ++i) each(jobs[i].id);
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
    forEachJob(printer, false, [&](int id) { newest = std::max(newest, id); });
    return newest;
}

void CupsQueue::holdJob(QPrinter& printer) {
    QPrintEngine* engine = printer.printEngine();
    if (!engine) return;
    QStringList options = engine->property(kCupsOptions).toStringList();
    options << QStringLiteral("job-hold-until") << QStringLiteral("indefinite");
    engine->setProperty(kCupsOptions, options);
}

void CupsQueue::withdrawNewestJobAfter(const QString& printer, int after) {
    int newest = 0;
    forEachJob(printer, true, [&](int id) { newest = std::max(newest, id); });
    if (newest > after) cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.toLocal8Bit().constData(), newest, 1);
}

}  // namespace pemo
