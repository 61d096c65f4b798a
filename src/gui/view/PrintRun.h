#pragma once

#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace pemo {

class PrintJob;

// Sends pages first … last of a prepared job to a printer one page at a time, behind a
// window-modal progress dialog: the window keeps repainting, its other input waits
// until the job is over (the job draws the document as it stands), and 取消 stops the
// job between two pages.
// Printers whose paint engine writes PDF (a PDF file, and on Linux every CUPS queue,
// which takes PDF) get the signs drawn straight, as the PDF export draws them: text
// stays text and each picture goes into the job once. Other printers get bands.
class PrintRun {
public:
    enum class Outcome { Printed, Cancelled, Failed };

    static Outcome run(PrintJob& job, QPrinter& printer, int first, int last, QWidget* parent);
    // The same for any pages: render draws page k (first … last) with the painter.
    using RenderPage = std::function<void(QPainter& painter, int k)>;
    static Outcome run(const RenderPage& render, QPrinter& printer, int first, int last,
                       QWidget* parent);

    // Whether the printer's pages are written as PDF, so blocks may be drawn straight.
    static bool takesVectors(QPrinter& printer);
    // The resolution of the printer's dots, which barcodes' modules are fitted to: a
    // printer's own; 0 for a PDF file, which keeps exact vectors.
    static int deviceDotsPerInch(const QPrinter& printer);
};

}  // namespace pemo
