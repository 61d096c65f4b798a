#pragma once

#include <QWidget>
#include <array>

#include "core/records/ImportSettings.h"
#include "core/records/ImportTarget.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace pemo {

class TableSheet;
class VariableNameList;

// The pane below the import file dialogs: a group "设置" with one drop-down per target
// ("空", then the file's columns as "列3：产地"), the separator drop-down (text files)
// or the sheet name edit (workbooks), "第一行是标题", the page the new records take,
// the button "预览", and under the group the preview list.
class ImportMappingPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewRows = 5;
    static constexpr int kPreviewBytes = 30;

    ImportMappingPane(ImportSettings::Kind kind, const VariableNameList& names,
                      QWidget* parent = nullptr);

    // Shows saved settings; reads the controls back (the header choice as ticked).
    void setSettings(const ImportSettings& settings);
    ImportSettings settings() const;
    // Shows a mapping in the target drop-downs.
    void setColumns(const ImportSettings::Columns& columns);

    // Labels the drop-downs' columns after the table (the first row's cells or the
    // first values); with none, "列1" … "列200".
    void showColumns(const TableSheet* sheet);

    bool firstRowIsHeader() const;
    void setFirstRowIsHeader(bool on);
    // Which page the new records take; the current record's when canUseCurrentPage.
    ImportTarget::Page page() const;
    void setPage(ImportTarget::Page page, bool canUseCurrentPage);

    // Fills the preview list from the first rows of the table from firstRow on (each
    // cell cut to its first 30 bytes, never inside a character).
    void showPreview(TableSheet& sheet, const ImportSettings& settings, int firstRow);
    void clearPreview();

    QComboBox* targetBox(int target) const { return targets_.at(size_t(target)); }
    QComboBox* separatorBox() const { return separator_; }
    QLineEdit* sheetEdit() const { return sheet_; }
    QCheckBox* headerBox() const { return header_; }
    QComboBox* pageBox() const { return page_; }
    QPushButton* previewButton() const { return preview_; }
    QTreeWidget* previewList() const { return list_; }

signals:
    void previewRequested();
    void headerToggled(bool on);

private:
    ImportSettings::Kind kind_;
    std::array<QComboBox*, ImportSettings::kTargetCount> targets_{};
    QComboBox* separator_ = nullptr;
    QLineEdit* sheet_ = nullptr;
    QCheckBox* header_ = nullptr;
    QComboBox* page_ = nullptr;
    QPushButton* preview_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

}  // namespace pemo
