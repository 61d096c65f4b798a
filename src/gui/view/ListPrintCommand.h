#pragma once

#include <QObject>
#include <memory>

#include "core/print/PrintTable.h"

class QPrinter;
class QWidget;

namespace pemo {

class CPatDoc;

// 信息打印 (34115): the print dialog with the list's options, then the record list as a
// ruled table on the chosen printer behind a progress window. The options' 预览... shows
// the same table in the print preview.
class ListPrintCommand : public QObject {
    Q_OBJECT
public:
    ListPrintCommand(const CPatDoc& doc, QWidget* parent);
    ~ListPrintCommand() override;

    void run();
    QPrinter& printer();
    void preview(PrintTable::Options options, QWidget* parent);
    // Prints the table onto printer with progress; false (after a message) when nothing
    // could be printed.
    bool print(PrintTable::Options options, QPrinter& printer, QWidget* parent);

private:
    const CPatDoc& doc_;
    std::unique_ptr<QPrinter> printer_;  // made when first needed
    QWidget* parent_;
};

}  // namespace pemo
