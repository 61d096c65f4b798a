#pragma once

#include <QWidget>
#include <array>

#include "core/records/ExportSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace pemo {

class CPatDoc;

// The pane below the export file dialogs, laid out like the import pane: a group "设置"
// with one drop-down per target ("空", "1" … "13"), the separator drop-down and a
// UTF-8 choice (text files) or the sheet name edit (workbooks), the button "全部导出",
// and under the group the first five records (all thirteen values, cut to 30 bytes).
class ExportPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewRows = 5;
    static constexpr int kPreviewBytes = 30;

    ExportPane(ExportSettings::Kind kind, const CPatDoc& doc, QWidget* parent = nullptr);

    void setSettings(const ExportSettings& settings);
    ExportSettings settings() const;
    bool utf8() const;
    void setNote(const QString& text);

    QComboBox* targetBox(int target) const { return targets_.at(size_t(target)); }
    QComboBox* separatorBox() const { return separator_; }
    QLineEdit* sheetEdit() const { return sheet_; }
    QCheckBox* utf8Box() const { return utf8_; }
    QPushButton* allButton() const { return all_; }
    QTreeWidget* previewList() const { return list_; }

private:
    ExportSettings::Kind kind_;
    std::array<QComboBox*, ExportSettings::kTargetCount> targets_{};
    QComboBox* separator_ = nullptr;
    QCheckBox* utf8_ = nullptr;
    QLineEdit* sheet_ = nullptr;
    QPushButton* all_ = nullptr;
    QLabel* note_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

}  // namespace pemo
