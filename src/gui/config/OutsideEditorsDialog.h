#pragma once

#include <QDialog>
#include <QList>

#include "core/pictures/OutsideEditors.h"

class QCheckBox;
class QLineEdit;

namespace pemo {

// 外部编辑程序: the program of each of the four editor places. An empty line uses the
// usual programs found on PATH (shown greyed in the line); 不使用 offers none.
class OutsideEditorsDialog : public QDialog {
    Q_OBJECT
public:
    OutsideEditorsDialog(OutsideEditors& editors, QWidget* parent = nullptr);

    QLineEdit* programEdit(int slot) const { return programs_.at(slot); }
    QCheckBox* unusedBox(int slot) const { return unused_.at(slot); }

    void accept() override;

private:
    void browse(int slot);

    OutsideEditors& editors_;
    QList<QLineEdit*> programs_;
    QList<QCheckBox*> unused_;
};

}  // namespace pemo
