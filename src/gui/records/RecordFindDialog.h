#pragma once

#include <QDialog>
#include <array>

#include "core/records/RecordSearch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pemo {

class CPatDoc;
class RecordGrid;

// 信息查找: searches the variable values of the records from the current one on and
// makes the record it finds current through the grid. Modeless; hidden until 查找.
class RecordFindDialog : public QDialog {
    Q_OBJECT
public:
    RecordFindDialog(CPatDoc& doc, RecordGrid& grid, QWidget* parent = nullptr);

    // Captions of the ten boxes from the document's variable names.
    void renameVariables();

    QLineEdit* searchEdit() const { return search_; }
    QPushButton* findButton() const { return find_; }
    QPushButton* findNextButton() const { return findNext_; }
    QLabel* resultLabel() const { return result_; }
    QLineEdit* valueEdit() const { return value_; }
    QCheckBox* box(int variable) const { return boxes_[static_cast<size_t>(variable)]; }

signals:
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void controlsChanged();
    void search(int from);
    RecordSearch::Ticks ticks() const;

    CPatDoc& doc_;
    RecordGrid& grid_;
    QLineEdit* search_ = nullptr;
    QPushButton* find_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QLabel* result_ = nullptr;
    QLineEdit* value_ = nullptr;
    std::array<QCheckBox*, RecordSearch::kVariableCount> boxes_{};
};

}  // namespace pemo
