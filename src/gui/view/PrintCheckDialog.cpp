#include "PrintCheckDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <set>

namespace pemo {

PrintCheckDialog::PrintCheckDialog(const std::vector<PrintFinding>& findings, bool preview, QWidget* parent)
    : QDialog(parent), findings_(findings) {
    setWindowTitle(QString::fromUtf8("打印前检查"));
    std::set<int> records;
    for (const PrintFinding& f : findings_) {
        if (f.record >= 0) records.insert(f.record);
    }
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(
        records.empty() ? QString::fromUtf8("打印之前发现了 %1 个问题：").arg(findings_.size())
                        : QString::fromUtf8("打印之前在 %1 项信息中发现了 %2 个问题：")
                              .arg(records.size())
                              .arg(findings_.size()),
        this);
    layout->addWidget(summary);

    list_ = new QListWidget(this);
    for (const PrintFinding& f : findings_) list_->addItem(f.text);
    list_->setMinimumSize(520, 240);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(this);
    go_ = buttons->addButton(QString::fromUtf8("转到该信息"), QDialogButtonBox::ActionRole);
    print_ = buttons->addButton(preview ? QString::fromUtf8("仍然预览") : QString::fromUtf8("仍然打印"),
                                QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    go_->setEnabled(false);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { go_->setEnabled(selectedRecord() >= 0); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &PrintCheckDialog::goToSelected);
    connect(go_, &QPushButton::clicked, this, &PrintCheckDialog::goToSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Going on is a choice made on purpose; the default is to look first.
    print_->setAutoDefault(false);
    print_->setDefault(false);
    go_->setDefault(true);
    if (!findings_.empty()) list_->setCurrentRow(0);
}

int PrintCheckDialog::selectedRecord() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= int(findings_.size())) return -1;
    return findings_[size_t(row)].record;
}

void PrintCheckDialog::goToSelected() {
    chosen_ = selectedRecord();
    if (chosen_ >= 0) reject();
}

}  // namespace pemo
