#pragma once

#include <QString>

namespace pemo {

// The names the program proposes for what it writes, and what it says it wrote.
namespace OutputNames {

// The PDF a print or 导出PDF proposes: the document's name in its folder; for a document
// not saved yet, "无标题.pdf" in the folder a PDF was last written to, else in
// fallbackFolder.
QString proposedPdf(const QString& documentPath, const QString& fallbackFolder);
// Remembers the folder of a PDF just written, for the next proposal (in the settings).
void rememberPdfFolder(const QString& pdfPath);
QString lastPdfFolder();

// "已写入 3 页，21 个标签：/home/…/价签.pdf" for a file, "已送到打印机 HP：3 页" for a
// printer; labels 0 for a job that is not on label sheets.
QString writtenNote(int pages, long long labels, const QString& pdfPath);
QString printedNote(int pages, long long labels, const QString& printerName);

}  // namespace OutputNames

}  // namespace pemo
