#include "PhraseDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "MallInfoDialog.h"
#include "core/codecs/Gbk.h"

namespace pemo {

PhraseDialog::PhraseDialog(const PhraseList& phrases, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("常用短语配置"));
    auto* layout = new QVBoxLayout(this);
    edit_ = new QLineEdit(this);
    list_ = new QListWidget(this);
    for (int i = 1; i < phrases.size(); ++i) list_->addItem(Gbk::toUnicode(phrases.phrase(i)));
    layout->addWidget(edit_);
    layout->addWidget(list_);
    auto* row = new QHBoxLayout;
    add_ = new QPushButton(QString::fromUtf8("新增"), this);
    save_ = new QPushButton(QString::fromUtf8("保存"), this);
    remove_ = new QPushButton(QString::fromUtf8("删除"), this);
    auto* ok = new QPushButton(QString::fromUtf8("返回"), this);
    auto* cancel = new QPushButton(QString::fromUtf8("取消"), this);
    for (QPushButton* b : {add_, save_, remove_, ok, cancel}) row->addWidget(b);
    layout->addLayout(row);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int r) {
        if (r >= 0) edit_->setText(list_->item(r)->text());
        updateButtons();
    });
    connect(edit_, &QLineEdit::textChanged, this, [this] {
        save_->setEnabled(!edit_->text().isEmpty() && list_->currentRow() >= 0);
    });
    connect(add_, &QPushButton::clicked, this, [this] {
        const QString text = QString::fromUtf8("文字");
        list_->addItem(text);
        select(list_->count() - 1);
        edit_->setText(text);
    });
    connect(save_, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem* item = list_->currentItem()) item->setText(edit_->text());
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        const int r = list_->currentRow();
        if (r < 0) return;
        delete list_->takeItem(r);
        select(std::min(r, list_->count() - 1));
    });
    connect(ok, &QPushButton::clicked, this, &PhraseDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    select(list_->count() > 0 ? 0 : -1);
    save_->setEnabled(false);
}

void PhraseDialog::select(int row) {
    list_->setCurrentRow(row);
    updateButtons();
}

void PhraseDialog::updateButtons() {
    add_->setEnabled(list_->count() < PhraseList::kMaxStored);
    remove_->setEnabled(list_->count() > 0);
    save_->setEnabled(list_->count() > 0 && !edit_->text().isEmpty());
}

void PhraseDialog::accept() {
    QList<QString> texts;
    for (int i = 0; i < list_->count(); ++i) texts.append(list_->item(i)->text());
    const auto gbk = gbkTexts(texts);
    if (!gbk) return;
    phrases_ = *gbk;
    QDialog::accept();
}

}  // namespace pemo
