#pragma once

#include <QWidget>

#include "core/print/PrintTable.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pemo {

// The group "打印选项" of the 信息打印 print dialog: "空项打印" (off at start), "打印队列"
// and "打印全部" each with "共%d项" under it. 打印队列 is chosen when the queue holds a
// record, otherwise disabled with 打印全部 chosen. "预览..." shows the table as chosen.
class ListPrintOptions : public QWidget {
    Q_OBJECT
public:
    ListPrintOptions(int queuedCount, int totalCount, QWidget* parent = nullptr);

    PrintTable::Options options() const;

    QCheckBox* emptyBox() const { return empty_; }
    QRadioButton* queueButton() const { return queue_; }
    QRadioButton* allButton() const { return all_; }
    QLabel* queueCount() const { return queueCount_; }
    QLabel* allCount() const { return allCount_; }
    QPushButton* previewButton() const { return preview_; }

signals:
    void previewRequested();

private:
    QCheckBox* empty_ = nullptr;
    QRadioButton* queue_ = nullptr;
    QRadioButton* all_ = nullptr;
    QLabel* queueCount_ = nullptr;
    QLabel* allCount_ = nullptr;
    QPushButton* preview_ = nullptr;
};

}  // namespace pemo
