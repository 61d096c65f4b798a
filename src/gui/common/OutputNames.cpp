#include "OutputNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace pemo::OutputNames {

namespace {

QSettings settings() { return QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo")); }

const char* const kPdfFolderKey = "Settings/PdfFolder";

QString amount(int pages, long long labels) {
    QString text = QString::fromUtf8("%1 页").arg(pages);
    if (labels > 0) text += QString::fromUtf8("，%1 个标签").arg(labels);
    return text;
}

}  // namespace

QString proposedPdf(const QString& documentPath, const QString& fallbackFolder) {
    if (!documentPath.isEmpty()) {
        const QFileInfo document(documentPath);
        return document.absoluteDir().filePath(document.completeBaseName() + QStringLiteral(".pdf"));
    }
    QString folder = lastPdfFolder();
    if (folder.isEmpty()) folder = fallbackFolder.isEmpty() ? QDir::homePath() : fallbackFolder;
    return QDir(folder).filePath(QString::fromUtf8("无标题.pdf"));
}

void rememberPdfFolder(const QString& pdfPath) {
    if (pdfPath.isEmpty()) return;
    settings().setValue(QString::fromLatin1(kPdfFolderKey), QFileInfo(pdfPath).absolutePath());
}

QString lastPdfFolder() {
    const QString folder = settings().value(QString::fromLatin1(kPdfFolderKey)).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

QString writtenNote(int pages, long long labels, const QString& pdfPath) {
    return QString::fromUtf8("已写入 %1：%2").arg(amount(pages, labels), QDir::toNativeSeparators(pdfPath));
}

QString printedNote(int pages, long long labels, const QString& printerName) {
    return QString::fromUtf8("已送到打印机 %1：%2").arg(printerName, amount(pages, labels));
}

}  // namespace pemo::OutputNames
