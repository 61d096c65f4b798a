#pragma once

#include <QDialog>
#include <array>

#include "core/config/VariableNameList.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pemo {

// 变量信息配置: the ten variable names, the saved name sets (the first row is the
// built-in set and cannot be changed), the default names for new documents and the
// product-picture placeholder.
class VariableDialog : public QDialog {
    Q_OBJECT
public:
    VariableDialog(const VariableNameList& names, QWidget* parent = nullptr);

    // The ten names (GBK), valid after the dialog was accepted.
    QList<QByteArray> names() const { return names_; }

    QLineEdit* nameEdit(int index) const { return edits_[size_t(index)]; }
    QTableWidget* sets() const { return sets_; }
    enum Button { Save, Add, Remove, Default, Choose, Ok };
    QPushButton* button(Button which) const;

private:
    void updateButtons();
    QStringList fieldTexts() const;
    bool someRowHolds(const QStringList& texts) const;
    void setRow(int row, const QStringList& texts);
    int selectedRow() const;
    void save();
    void add();
    void remove();
    void makeDefault();
    void choose();
    void accept() override;

    std::array<QLineEdit*, VariableNameList::kVariableCount> edits_{};
    QTableWidget* sets_ = nullptr;
    std::array<QPushButton*, 6> buttons_{};
    QList<QByteArray> names_;
};

}  // namespace pemo
