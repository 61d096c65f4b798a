#include "PrintCheckDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

namespace pemo {

namespace {

// The record an item leads to.
constexpr int kRecordRole = Qt::UserRole;

}  // namespace

PrintCheckDialog::PrintCheckDialog(const std::vector<PrintFinding>& findings, bool preview, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("打印前检查"));
    std::set<int> records;
    for (const PrintFinding& f : findings) {
        if (f.record >= 0) records.insert(f.record);
    }
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(
        records.empty() ? QString::fromUtf8("打印之前发现了 %1 个问题：").arg(findings.size())
                        : QString::fromUtf8("打印之前在 %1 项信息中发现了 %2 个问题：")
                              .arg(records.size())
                              .arg(findings.size()),
        this);
    layout->addWidget(summary);

    tree_ = new QTreeWidget(this);
    tree_->setColumnCount(2);
    tree_->setHeaderLabels({QString::fromUtf8("问题"), QString::fromUtf8("处数")});
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tree_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    for (const PrintFindingGroup& g : PrintCheck::group(findings)) {
        auto* item = new QTreeWidgetItem(tree_, {g.text, QString::number(g.count)});
        item->setToolTip(0, g.text);
        item->setData(0, kRecordRole, g.records.empty() ? -1 : g.records.front());
        for (const PrintFinding& f : findings) {
            if (f.kind != g.kind) continue;
            auto* child = new QTreeWidgetItem(item, {f.text});
            child->setData(0, kRecordRole, f.record);
        }
    }
    tree_->setMinimumSize(560, 260);
    layout->addWidget(tree_);

    auto* buttons = new QDialogButtonBox(this);
    go_ = buttons->addButton(QString::fromUtf8("转到该信息"), QDialogButtonBox::ActionRole);
    print_ = buttons->addButton(preview ? QString::fromUtf8("仍然预览") : QString::fromUtf8("仍然打印"),
                                QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    go_->setEnabled(false);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { go_->setEnabled(selectedRecord() >= 0); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        // A group's double click opens it; a finding's goes to its record.
        if (item->parent()) goToSelected();
    });
    connect(go_, &QPushButton::clicked, this, &PrintCheckDialog::goToSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Going on is a choice made on purpose; the default is to look first.
    print_->setAutoDefault(false);
    print_->setDefault(false);
    go_->setDefault(true);
    if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
}

int PrintCheckDialog::selectedRecord() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    return item ? item->data(0, kRecordRole).toInt() : -1;
}

void PrintCheckDialog::goToSelected() {
    chosen_ = selectedRecord();
    if (chosen_ >= 0) reject();
}

}  // namespace pemo
