// 导出PDF: the print queue to a PDF file in a print mode of the user's choice, the way
// `pemo --export OUT.pdf` writes it.
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "CPatApp.h"
#include "CPatMain.h"
#include "PdfExportDialog.h"
#include "SaveName.h"
#include "core/platform/Messages.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintSettings.h"

namespace pemo {

void CPatMain::exportPdf() {
    PdfExportDialog choices(this);
    if (choices.exec() != QDialog::Accepted) return;
    const QString suggested = QFileInfo(app_.documentTitle()).completeBaseName() + QStringLiteral(".pdf");
    const QString path = completeSaveName(
        QFileDialog::getSaveFileName(this, QString::fromUtf8("导出PDF"),
                                     app_.dialogFolder() + QLatin1Char('/') + suggested,
                                     QString::fromUtf8("PDF文件 (*.pdf)")),
        {QStringLiteral("pdf")}, QStringLiteral("pdf"));
    if (path.isEmpty()) return;
    // The chosen mode and sheet at 300 dots per inch.
    const QSizeF paper = choices.paperMm();
    const PrintSettings settings = choices.settings();
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
    Messages::current().inform(written ? QString::fromUtf8("已导出 %1 页到 %2。")
                                             .arg(job.pageCount())
                                             .arg(QDir::toNativeSeparators(path))
                                       : error);
}

}  // namespace pemo
