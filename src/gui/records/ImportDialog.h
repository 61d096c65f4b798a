#pragma once

#include <QFileDialog>
#include <optional>

#include "core/records/DelimitedText.h"

#include "core/records/ImportSettings.h"

namespace pemo {

class EncodingChoice;
class ImportMappingPane;
class VariableNameList;

// The file-open dialog of 导入TXT文件 and 导入XLS文件 with the mapping pane below it. It
// opens with the settings saved for its kind; confirming checks the mapping (a failed
// check leaves the dialog open) and saves the settings before closing.
class ImportDialog : public QFileDialog {
    Q_OBJECT
public:
    ImportDialog(ImportSettings::Kind kind, const VariableNameList& names,
                 QWidget* parent = nullptr);

    ImportMappingPane* pane() const { return pane_; }
    ImportSettings settings() const;
    // The chosen file; empty while none is chosen.
    QString chosenPath() const;
    // The sheet name as typed (workbooks).
    QString sheetName() const;
    // The encoding shown for a text file (nullopt: let the reader guess).
    std::optional<DelimitedText::Encoding> encoding() const;
    EncodingChoice* encodingChoice() const { return encoding_; }

    // The checks of 预览 and OK; shows the message of the first that fails.
    bool validate();
    // 预览: checks, then shows the first rows of the chosen file.
    void preview();

    void accept() override;

private:
    ImportSettings::Kind kind_;
    const VariableNameList& names_;
    ImportMappingPane* pane_ = nullptr;
    EncodingChoice* encoding_ = nullptr;
};

}  // namespace pemo
