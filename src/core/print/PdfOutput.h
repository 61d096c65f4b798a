#pragma once

#include <QSizeF>
#include <QString>

namespace pemo {

class PrintJob;
class PrintTable;
struct PrintSettings;

// Writes a prepared print job to a PDF file, one PDF page per printed page.
class PdfOutput {
public:
    // The margin left around the printable area of every sheet.
    static constexpr int kMarginMm = 5;

    // The printable area of a sheet of paperMm, in whole millimetres, as a job is
    // prepared with.
    static QSize printableMm(QSizeF paperMm);

    // The margin of a job's sheets: kMarginMm, none for label sheets (whose labels are
    // measured from the sheet's corner and may reach its edges).
    static double marginMm(const PrintSettings& settings);

    // paperMm: the whole sheet; the job's pages are drawn inside marginMm margins at
    // dpi dots per inch. The signs' blocks are drawn straight onto the PDF (text stays
    // text); the file is replaced only once it is complete. False with a message in
    // error when the file cannot be written.
    static bool write(PrintJob& job, const QString& path, QSizeF paperMm, int dpi, QString* error);
    // The record list as a table on upright sheets of paperMm, the same way.
    static bool write(PrintTable& table, const QString& path, QSizeF paperMm, int dpi, QString* error);
};

}  // namespace pemo
