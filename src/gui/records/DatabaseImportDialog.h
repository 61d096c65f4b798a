#pragma once

#include <QFileDialog>
#include <array>

#include "core/records/DatabaseImport.h"
#include "core/records/OdbcConnection.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace pemo {

class DatabasePreviewModel;
class VariableNameList;

// The file-open dialog of 导入MDB文件 with its pane: the tables of the chosen file, a
// column of the chosen table for each target, the condition, and the preview of every
// matching row. OK needs a preview of the mapping and condition as they stand that found
// at least one row. The mapping is not remembered.
class DatabaseImportDialog : public QFileDialog {
    Q_OBJECT
public:
    DatabaseImportDialog(const VariableNameList& names, QWidget* parent = nullptr);

    // The file, table, fields and condition as the pane shows them.
    DatabaseSelection selection() const;
    // The chosen file; empty while none is chosen.
    QString chosenPath() const;

    // The checks of 预览 and OK; shows the message of the first that fails.
    bool validate();
    // 预览: checks, then reads every matching row into the list and counts them.
    void preview();
    void accept() override;

    QComboBox* tableBox() const { return tables_; }
    QComboBox* targetBox(int target) const { return targets_.at(size_t(target)); }
    QLineEdit* conditionEdit() const { return condition_; }
    QLineEdit* resultEdit() const { return result_; }
    QLabel* statusLabel() const { return status_; }
    DatabasePreviewModel* previewModel() const { return model_; }
    QTableView* previewView() const { return view_; }

    // A file chosen in the dialog (also what the dialog's own selection change runs).
    void chooseFile(const QString& path);

private:
    void resetPane();
    void fillFields();
    void mappingChanged();

    const VariableNameList& names_;
    OdbcConnection connection_;
    QString connectedPath_;
    QComboBox* tables_ = nullptr;
    QLineEdit* condition_ = nullptr;
    std::array<QComboBox*, ImportSettings::kTargetCount> targets_{};
    QLineEdit* result_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* preview_ = nullptr;
    QTableView* view_ = nullptr;
    DatabasePreviewModel* model_ = nullptr;
};

}  // namespace pemo
