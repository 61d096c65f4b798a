#pragma once

#include <QWidget>
#include <array>

#include "core/records/ImportSettings.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace pemo {

class TableSheet;
class VariableNameList;

// The pane below the import file dialogs: a group "设置" with one drop-down per target
// ("空", "1" … "200"), the separator drop-down (text files) or the sheet name edit
// (workbooks), the button "预览", and under the group the preview list.
class ImportMappingPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewRows = 5;
    static constexpr int kPreviewBytes = 30;

    ImportMappingPane(ImportSettings::Kind kind, const VariableNameList& names,
                      QWidget* parent = nullptr);

    // Shows saved settings; reads the controls back.
    void setSettings(const ImportSettings& settings);
    ImportSettings settings() const;

    // Fills the preview list from the first rows of the table (each cell cut to its
    // first 30 bytes, never inside a character).
    void showPreview(TableSheet& sheet, const ImportSettings& settings);
    void clearPreview();

    QComboBox* targetBox(int target) const { return targets_.at(size_t(target)); }
    QComboBox* separatorBox() const { return separator_; }
    QLineEdit* sheetEdit() const { return sheet_; }
    QPushButton* previewButton() const { return preview_; }
    QTreeWidget* previewList() const { return list_; }

signals:
    void previewRequested();

private:
    ImportSettings::Kind kind_;
    std::array<QComboBox*, ImportSettings::kTargetCount> targets_{};
    QComboBox* separator_ = nullptr;
    QLineEdit* sheet_ = nullptr;
    QPushButton* preview_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

}  // namespace pemo
