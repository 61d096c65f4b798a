// 导出PDF: the print queue to a PDF file, the way `pemo --export OUT.pdf` writes it.
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>

#include "CPatApp.h"
#include "CPatMain.h"
#include "SaveName.h"
#include "core/platform/Messages.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintMode.h"
#include "core/print/PrintSettings.h"

namespace pemo {

void CPatMain::exportPdf() {
    const QString suggested = QFileInfo(app_.documentTitle()).completeBaseName() + QStringLiteral(".pdf");
    const QString path = completeSaveName(
        QFileDialog::getSaveFileName(this, QString::fromUtf8("导出PDF"),
                                     app_.dialogFolder() + QLatin1Char('/') + suggested,
                                     QString::fromUtf8("PDF文件 (*.pdf)")),
        {QStringLiteral("pdf")}, QStringLiteral("pdf"));
    if (path.isEmpty()) return;
    // Each queued record once, with its background, on A4 at 300 dots per inch.
    const QSizeF paper(210, 297);
    PrintSettings settings;
    settings.mode = PrintMode::fromName(QStringLiteral("by-item"), true)->code;
    settings.sheetMm = PdfOutput::printableMm(paper);
    PrintJob job(doc_);
    if (!job.prepare(settings)) {
        Messages::current().inform(job.refusal().isEmpty() ? QString::fromUtf8("无法打印。")
                                                            : job.refusal());
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = PdfOutput::write(job, path, paper, 300, &error);
    QApplication::restoreOverrideCursor();
    if (!written) Messages::current().inform(error);
}

}  // namespace pemo
