#include "PrintRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>

#include "core/platform/ProgramInfo.h"
#include "core/print/PdfTextRepair.h"
#include "core/print/PrintJob.h"
#include "CupsQueue.h"

namespace pemo {

bool PrintRun::takesVectors(QPrinter& printer) {
    const QPaintEngine* engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

int PrintRun::deviceDotsPerInch(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::NativeFormat ? printer.resolution() : 0;
}

PrintRun::Outcome PrintRun::run(PrintJob& job, QPrinter& printer, int first, int last, QWidget* parent) {
    job.setDirectOutput(takesVectors(printer));
    job.setDeviceDotsPerInch(deviceDotsPerInch(printer));
    return run([&job](QPainter& painter, int k) { job.renderPage(painter, k); }, printer, first, last,
               parent);
}

PrintRun::Outcome PrintRun::run(const RenderPage& render, QPrinter& printer, int first, int last,
                                QWidget* parent) {
    const int count = last - first + 1;
    if (count <= 0) return Outcome::Printed;

    QProgressDialog progress(QString(), QString::fromUtf8("取消"), 0, count, parent);
    progress.setWindowTitle(QString::fromUtf8(kProgramName));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const auto showPage = [&](int done) {
        progress.setLabelText(QString::fromUtf8("正在打印第 %1 页，共 %2 页…").arg(std::min(done + 1, count)).arg(count));
        progress.setValue(done);
        // The window repaints and the dialog takes its clicks; everything else waits.
        QCoreApplication::processEvents();
    };
    showPage(0);
    if (progress.wasCanceled()) return Outcome::Cancelled;

    // A CUPS job cannot be aborted once begun: a cancelled one is withdrawn from the queue.
    const bool queue = CupsQueue::isQueue(printer);
    const int lastJobBefore = queue ? CupsQueue::newestJob(printer.printerName()) : 0;

    QPainter painter;
    if (!painter.begin(&printer)) return Outcome::Failed;
    Outcome outcome = Outcome::Printed;
    for (int k = first; k <= last; ++k) {
        if (k > first && !printer.newPage()) {
            outcome = Outcome::Failed;
            break;
        }
        render(painter, k);
        showPage(k - first + 1);
        if (progress.wasCanceled() && k < last) {
            outcome = Outcome::Cancelled;
            break;
        }
    }
    if (outcome == Outcome::Printed) {
        // Closing the job writes it out and hands it to the print system, which can take
        // a moment on a long job and can no longer be stopped.
        progress.setCancelButtonText(QString());
        progress.setLabelText(QString::fromUtf8("正在完成打印作业（共 %1 页）…").arg(count));
        QCoreApplication::processEvents();
        painter.end();
        // A PDF file's text reads back as typed (its fonts' character maps name the
        // ideographs, not the radicals that share their glyphs).
        if (!queue && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
            !PdfTextRepair::repairFile(printer.outputFileName(), nullptr))
            return Outcome::Failed;
        return outcome;
    }
    // Engines that can drop a job do so here. Qt's PDF engines cannot: a cancelled or
    // broken PDF file is removed once it is closed, and a CUPS job reaches its queue held
    // and is withdrawn there.
    const QByteArray title = queue ? CupsQueue::withdrawalTitle() : QByteArray();
    if (!printer.abort() && queue) CupsQueue::holdJob(printer, title);
    painter.end();
    if (queue) {
        CupsQueue::withdrawJob(printer.printerName(), lastJobBefore, title);
    } else if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QFile::remove(printer.outputFileName());
    }
    return outcome;
}

}  // namespace pemo
