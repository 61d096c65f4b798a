#pragma once

#include <QDialog>
#include <vector>

#include "core/print/PrintCheck.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pemo {

// 打印前检查: what the check found before a print or a preview, grouped by kind — one
// line per kind with its count and records ("文字超出：第3、7项"), the findings under it.
// 转到该信息 (or a double click) closes the dialog without printing and names the record
// to show: the finding's, or a group's first; 仍然打印 (仍然预览) goes on with the job;
// 取消 drops it.
class PrintCheckDialog : public QDialog {
    Q_OBJECT
public:
    PrintCheckDialog(const std::vector<PrintFinding>& findings, bool preview, QWidget* parent = nullptr);

    // The record the user chose to go to, or -1.
    int chosenRecord() const { return chosen_; }
    QTreeWidget* tree() const { return tree_; }
    QPushButton* goButton() const { return go_; }
    QPushButton* printButton() const { return print_; }

private:
    void goToSelected();
    int selectedRecord() const;

    QTreeWidget* tree_ = nullptr;
    QPushButton* go_ = nullptr;
    QPushButton* print_ = nullptr;
    int chosen_ = -1;
};

}  // namespace pemo
