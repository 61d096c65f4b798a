#pragma once

#include <QDialog>
#include <QSizeF>

#include "core/print/PrintSettings.h"

class QComboBox;
class QSpinBox;

namespace pemo {

// The choices of 导出PDF before the file name: the print mode (the modes of the 打印
// menu), the sheet, and the tile overlap and merge spacing.
class PdfExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit PdfExportDialog(QWidget* parent = nullptr);

    // The settings of the job and the sheet's size in millimetres.
    PrintSettings settings() const;
    QSizeF paperMm() const;
    // The mode's menu text without its key and dots: "带底图按项打印", "校对打印(2X2)".
    static QString modeName(const QString& menuText);

    QComboBox* modeBox() const { return mode_; }
    QComboBox* paperBox() const { return paper_; }

private:
    QComboBox* mode_ = nullptr;
    QComboBox* paper_ = nullptr;
    QSpinBox* overlap_ = nullptr;
    QSpinBox* spacing_ = nullptr;
};

}  // namespace pemo
