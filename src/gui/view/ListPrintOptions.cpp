#include "ListPrintOptions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pemo {

ListPrintOptions::ListPrintOptions(int queuedCount, int totalCount, QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QString::fromUtf8("打印选项"));
    auto* group = new QGroupBox(QString::fromUtf8("打印选项"), this);
    auto* grid = new QGridLayout(group);
    empty_ = new QCheckBox(QString::fromUtf8("空项打印"), group);
    queue_ = new QRadioButton(QString::fromUtf8("打印队列"), group);
    all_ = new QRadioButton(QString::fromUtf8("打印全部"), group);
    queueCount_ = new QLabel(QString::fromUtf8("共%1项").arg(queuedCount), group);
    allCount_ = new QLabel(QString::fromUtf8("共%1项").arg(totalCount), group);
    grid->addWidget(empty_, 0, 0, 1, 2);
    grid->addWidget(queue_, 1, 0);
    grid->addWidget(all_, 1, 1);
    grid->addWidget(queueCount_, 2, 0);
    grid->addWidget(allCount_, 2, 1);
    queue_->setEnabled(queuedCount > 0);
    (queuedCount > 0 ? queue_ : all_)->setChecked(true);
    preview_ = new QPushButton(QString::fromUtf8("预览..."), this);
    connect(preview_, &QPushButton::clicked, this, &ListPrintOptions::previewRequested);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(preview_, 0, Qt::AlignLeft);
    layout->addStretch();
}

PrintTable::Options ListPrintOptions::options() const {
    return {empty_->isChecked(), queue_->isChecked()};
}

}  // namespace pemo
