#pragma once

#include <QFileDialog>

#include "core/records/ExportSettings.h"

namespace pemo {

class CPatDoc;
class ExportPane;

// The file-save dialog of 导出TXT文件 and 导出XLS文件 with the export pane below it. It
// opens with the settings saved for its kind; confirming checks them (a failed check
// leaves the dialog open) and saves them before closing. Workbooks are written as .xlsx:
// a name ending in ".xls" gets an "x", which the pane notes.
class ExportDialog : public QFileDialog {
    Q_OBJECT
public:
    ExportDialog(ExportSettings::Kind kind, const CPatDoc& doc, QWidget* parent = nullptr);

    ExportPane* pane() const { return pane_; }
    ExportSettings settings() const;
    // The file to write; empty while none is chosen.
    QString chosenPath() const;

    bool validate();
    void accept() override;

private:
    ExportSettings::Kind kind_;
    const CPatDoc& doc_;
    ExportPane* pane_ = nullptr;
};

}  // namespace pemo
