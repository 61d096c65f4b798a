#include "PriceUpdateDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/records/ImportSettings.h"

namespace pemo {

int PriceUpdateDialog::likelyKey(const PriceUpdate::Columns& columns, const CPatDoc& doc) {
    for (int target = 0; target < 10; ++target) {
        const QString name = Gbk::toUnicode(doc.variableNames.name(target));
        if (columns[size_t(target)] > 0 &&
            (name.contains(QString::fromUtf8("条码")) || name.contains(QString::fromUtf8("编码")) ||
             name.contains(QString::fromUtf8("货号")))) {
            return target;
        }
    }
    for (int target = 0; target < ImportSettings::kTargetCount; ++target) {
        if (columns[size_t(target)] > 0) return target;
    }
    return -1;
}

PriceUpdateDialog::PriceUpdateDialog(const CPatDoc& doc, const TableSheet& sheet, int firstRow,
                                     const PriceUpdate::Columns& columns, QWidget* parent)
    : QDialog(parent), doc_(doc), sheet_(sheet), firstRow_(firstRow), columns_(columns) {
    setWindowTitle(QString::fromUtf8("按价格表更新"));
    key_ = new QComboBox(this);
    for (int target = 0; target < ImportSettings::kTargetCount; ++target) {
        if (columns[size_t(target)] > 0) key_->addItem(ImportSettings::targetName(target, doc.variableNames), target);
    }
    key_->setCurrentIndex(std::max(0, key_->findData(likelyKey(columns, doc))));
    page_ = new QComboBox(this);
    page_->addItem(QString::fromUtf8("当前信息的版面"));
    page_->addItem(QString::fromUtf8("模板库中选中的模板"));
    summary_ = new QLabel(this);
    list_ = new QListWidget(this);
    list_->setMinimumSize(520, 260);

    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8("按此项找到商品(&K)："), key_);
    form->addRow(QString::fromUtf8("新商品的版面(&P)："), page_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QString::fromUtf8("更新"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    connect(key_, &QComboBox::currentIndexChanged, this, &PriceUpdateDialog::plan);
    plan();
}

PriceUpdateDialog::~PriceUpdateDialog() = default;

bool PriceUpdateDialog::newOnCurrentPage() const { return page_->currentIndex() == 0; }

void PriceUpdateDialog::plan() {
    update_ = std::make_unique<PriceUpdate>(columns_, key_->currentData().toInt());
    list_->clear();
    if (key_->count() == 0 || !update_->plan(doc_, sheet_, firstRow_)) {
        summary_->setText(key_->count() == 0 ? QString::fromUtf8("没有设置任何列。") : update_->message());
        ok_->setEnabled(false);
        return;
    }
    if (update_->hasDuplicates()) {
        summary_->setText(update_->duplicatesMessage());
        ok_->setEnabled(false);
        return;
    }
    summary_->setText(update_->summary());
    list_->addItems(update_->changeLines(doc_.variableNames));
    page_->setEnabled(update_->newCount() > 0);
    ok_->setEnabled(true);
}

}  // namespace pemo
