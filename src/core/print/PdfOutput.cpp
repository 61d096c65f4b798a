#include "PdfOutput.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QFileInfo>
#include <QTemporaryFile>

#include "PrintJob.h"
#include "PrintMode.h"
#include "core/codecs/PdfPictureSession.h"
#include "core/platform/ProgramInfo.h"
#include "core/platform/SafeFile.h"
#include "PdfTextRepair.h"
#include "PrintTable.h"

namespace pemo {

QSize PdfOutput::printableMm(QSizeF paperMm) {
    return QSize(static_cast<int>(paperMm.width()) - 2 * kMarginMm,
                 static_cast<int>(paperMm.height()) - 2 * kMarginMm);
}

double PdfOutput::marginMm(const PrintSettings& settings) {
    return settings.mode == PrintMode::Labels ? 0.0 : kMarginMm;
}

bool PdfOutput::write(PrintJob& job, const QString& path, QSizeF paperMm, int dpi, QString* error) {
    const auto fail = [&](const QString& message) {
        if (error) *error = message;
        return false;
    };
    if (job.pageCount() <= 0) return fail(job.refusal());

    SafeFile file(path);
    if (!file.open()) return fail(SafeFile::failureText(path, file.errorText()));
    // Qt's PDF goes to a scratch file beside the target first; JPEG pictures are then put
    // in as they are while the final file is written (see PdfPictureSession).
    QTemporaryFile scratch(QFileInfo(path).absolutePath() + QStringLiteral("/.pemo-pdf-XXXXXX"));
    if (!scratch.open()) return fail(SafeFile::failureText(path, scratch.errorString()));
    PdfPictureSession session;
    {
        QPdfWriter writer(&scratch);
        writer.setCreator(QString::fromUtf8(kProgramName));
        writer.setResolution(dpi);
        // A sheet wider than tall is the turned sheet of its upright size.
        const bool landscape = paperMm.width() > paperMm.height();
        const QSizeF upright = landscape ? paperMm.transposed() : paperMm;
        const double margin = marginMm(job.layout().settings());
        writer.setPageLayout(QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                                         landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) return fail(QString::fromUtf8("无法写入文件 %1。").arg(path));
        const bool direct = job.directOutput();
        const int dots = job.deviceDotsPerInch();
        job.setDirectOutput(true);
        job.setDeviceDotsPerInch(0);  // a PDF file keeps exact vectors
        for (int k = 1; k <= job.pageCount(); ++k) {
            if (k > 1) writer.newPage();
            job.renderPage(painter, k);
        }
        job.setDirectOutput(direct);
        job.setDeviceDotsPerInch(dots);
        painter.end();
    }
    if (!scratch.flush() || scratch.error() != QFileDevice::NoError) {
        return fail(SafeFile::failureText(path, scratch.errorString()));
    }
    const qint64 size = scratch.size();
    uchar* mapped = size > 0 ? scratch.map(0, size) : nullptr;
    if (!mapped) return fail(SafeFile::failureText(path, scratch.errorString()));
    QString pictureError;
    // Text reads back as typed: the fonts' character maps name ideographs, not radicals.
    const QByteArray pdf = PdfTextRepair::repaired(
        QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size));
    const bool finished = session.finish(pdf, file.device(), &pictureError);
    scratch.unmap(mapped);
    // An unfinished file is never committed: the old one stays.
    if (!finished) {
        return fail(pictureError.isEmpty() ? SafeFile::failureText(path, file.device().errorString())
                                           : pictureError);
    }
    if (!file.commit()) return fail(SafeFile::failureText(path, file.errorText()));
    return true;
}

bool PdfOutput::write(PrintTable& table, const QString& path, QSizeF paperMm, int dpi,
                      QString* error) {
    if (table.isEmpty()) {
        if (error) *error = PrintTable::nothingToPrintMessage();
        return false;
    }
    SafeFile file(path);
    if (!file.open()) {
        if (error) *error = SafeFile::failureText(path, file.errorText());
        return false;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QString::fromUtf8(kProgramName));
        writer.setResolution(dpi);
        writer.setPageLayout(QPageLayout(QPageSize(paperMm, QPageSize::Millimeter),
                                         QPageLayout::Portrait, QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        table.print(painter, writer);
    }
    const QByteArray pdf = PdfTextRepair::repaired(buffer.data());
    if (file.device().write(pdf) != pdf.size() || !file.commit()) {
        if (error) *error = SafeFile::failureText(path, file.errorText());
        return false;
    }
    return true;
}

}  // namespace pemo
