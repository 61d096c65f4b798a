#include "ListPrintCommand.h"

#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "ListPrintOptions.h"
#include "PrintRun.h"
#include "core/document/CPatDoc.h"

namespace pemo {

namespace {

QString title() { return QString::fromUtf8("信息打印"); }

}  // namespace

ListPrintCommand::ListPrintCommand(const CPatDoc& doc, QWidget* parent)
    : QObject(parent), doc_(doc), parent_(parent) {}

ListPrintCommand::~ListPrintCommand() = default;

QPrinter& ListPrintCommand::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void ListPrintCommand::run() {
    QPrintDialog dialog(&printer(), parent_);
    dialog.setWindowTitle(title());
    // Only "all" can be chosen: no page range, selection, current page or file.
    dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies);
    dialog.setMinMax(1, 1);
    auto* options = new ListPrintOptions(doc_.queuedCount(), doc_.recordCount());
    connect(options, &ListPrintOptions::previewRequested, this,
            [this, options, &dialog] { preview(options->options(), &dialog); });
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted) return;
    print(options->options(), printer(), parent_);
}

bool ListPrintCommand::print(PrintTable::Options options, QPrinter& printer, QWidget* parent) {
    PrintTable table(doc_, options);
    if (table.isEmpty()) {
        QMessageBox::information(parent, title(), PrintTable::nothingToPrintMessage());
        return false;
    }
    // The pages are known once the table is fitted to the printer's page.
    const int dpi = printer.logicalDpiX();
    const PrintTable::Geometry g = PrintTable::geometry(dpi, printer.width(), printer.height());
    table.fitWidth(int(static_cast<long long>(g.width) * 1440 / dpi));
    const std::vector<int> pages = table.pageStarts(g);
    const auto render = [&](QPainter& painter, int k) { table.drawPage(painter, g, pages, k); };
    if (PrintRun::run(render, printer, 1, int(pages.size()), parent) == PrintRun::Outcome::Failed) {
        QMessageBox::warning(parent, title(), QString::fromUtf8("无法启动打印作业。"));
        return false;
    }
    return true;
}

void ListPrintCommand::preview(PrintTable::Options options, QWidget* parent) {
    QPrintPreviewDialog dialog(&printer(), parent);
    dialog.setWindowTitle(title());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this, options, &dialog](QPrinter* printer) {
        if (printer->paintEngine()->type() != QPaintEngine::Picture) {
            print(options, *printer, &dialog);  // the preview's own print button
            return;
        }
        PrintTable table(doc_, options);
        if (table.isEmpty()) return;
        QPainter painter;
        if (!painter.begin(printer)) return;
        table.print(painter, *printer);
    });
    dialog.exec();
}

}  // namespace pemo
