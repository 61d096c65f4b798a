#pragma once

#include <QFileDialog>
#include <memory>
#include <optional>

#include "core/records/DelimitedText.h"

#include "core/records/ImportSettings.h"
#include "core/records/ImportTarget.h"

namespace pemo {

class EncodingChoice;
class ImportMappingPane;
class TableSheet;
class VariableNameList;

// The file-open dialog of 导入TXT文件 and 导入XLS文件 with the mapping pane below it. It
// opens with the settings saved for its kind; choosing a file labels the columns after
// it, decides whether its first row is a header (unless the user chose before) and, for
// a header, guesses the mapping from its words. Confirming checks the mapping (a failed
// check leaves the dialog open) and saves the settings before closing.
class ImportDialog : public QFileDialog {
    Q_OBJECT
public:
    ImportDialog(ImportSettings::Kind kind, const VariableNameList& names,
                 QWidget* parent = nullptr);
    ~ImportDialog() override;

    ImportMappingPane* pane() const { return pane_; }
    ImportSettings settings() const;
    // The chosen file; empty while none is chosen.
    QString chosenPath() const;
    // The sheet name as typed (workbooks).
    QString sheetName() const;
    // The encoding shown for a text file (nullopt: let the reader guess).
    std::optional<DelimitedText::Encoding> encoding() const;
    EncodingChoice* encodingChoice() const { return encoding_; }
    // The first row that becomes a record: 2 when the first row is a header.
    int firstRow() const;
    // The page the new records take, and the choice offered (the current record's page
    // only when there is one).
    ImportTarget::Page page() const;
    void setPage(ImportTarget::Page page, bool canUseCurrentPage);

    // The checks of 预览 and OK; shows the message of the first that fails.
    bool validate();
    // 预览: checks, then shows the first rows of the chosen file.
    void preview();
    // Reads the file to label its columns and guess its header and mapping.
    void chooseFile(const QString& path);

    void accept() override;

private:
    void guessMapping();

    ImportSettings::Kind kind_;
    const VariableNameList& names_;
    ImportMappingPane* pane_ = nullptr;
    EncodingChoice* encoding_ = nullptr;
    ImportSettings::Header savedHeader_ = ImportSettings::Header::Unknown;
    std::unique_ptr<TableSheet> sheet_;  // the chosen file, once read
};

}  // namespace pemo
