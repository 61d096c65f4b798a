#include "VariableDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "MallInfoDialog.h"
#include "PicturePreviewButton.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Messages.h"

namespace pemo {

namespace {
constexpr int kCount = VariableNameList::kVariableCount;
constexpr int kColumnWidth = 70;

QStringList unicodeNames(const QList<QByteArray>& gbk) {
    QStringList out;
    for (const QByteArray& name : gbk) out.append(Gbk::toUnicode(name));
    return out;
}
}  // namespace

VariableDialog::VariableDialog(const VariableNameList& names, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("变量信息配置"));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    for (int i = 0; i < kCount; ++i) {
        auto* edit = new QLineEdit(Gbk::toUnicode(names.name(i)), this);
        edits_[size_t(i)] = edit;
        fields->addWidget(new QLabel(QString::fromUtf8("变量%1").arg(i + 1), this), i / 2,
                          (i % 2) * 2);
        fields->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        connect(edit, &QLineEdit::textChanged, this, &VariableDialog::updateButtons);
    }
    layout->addLayout(fields);

    sets_ = new QTableWidget(0, kCount, this);
    sets_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sets_->setSelectionMode(QAbstractItemView::SingleSelection);
    sets_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sets_->verticalHeader()->hide();
    for (int c = 0; c < kCount; ++c) {
        sets_->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromUtf8("变量%1").arg(c + 1)));
        sets_->setColumnWidth(c, kColumnWidth);
    }
    setRow(0, unicodeNames(VariableNameList::defaultNames()));
    for (const auto& set : VariableNameList::loadSets()) setRow(sets_->rowCount(), unicodeNames(set));
    sets_->selectRow(0);
    layout->addWidget(sets_);
    connect(sets_, &QTableWidget::itemSelectionChanged, this, &VariableDialog::updateButtons);

    auto* row = new QHBoxLayout;
    auto* preview = new PicturePreviewButton(ConfigPictures::Which::Product, this);
    auto* choosePicture = new QPushButton(QString::fromUtf8("{商品图例}"), this);
    connect(choosePicture, &QPushButton::clicked, this, [this, preview] {
        if (chooseConfigPicture(ConfigPictures::Which::Product, this)) preview->update();
    });
    row->addWidget(preview);
    row->addWidget(choosePicture);
    row->addStretch();
    static const char* const kTexts[] = {"保存", "添加", "删除", "缺省", "选用", "返回"};
    for (int b = 0; b < 6; ++b) {
        buttons_[size_t(b)] = new QPushButton(QString::fromUtf8(kTexts[b]), this);
        row->addWidget(buttons_[size_t(b)]);
    }
    auto* cancel = new QPushButton(QString::fromUtf8("取消"), this);
    row->addWidget(cancel);
    layout->addLayout(row);

    connect(button(Save), &QPushButton::clicked, this, &VariableDialog::save);
    connect(button(Add), &QPushButton::clicked, this, &VariableDialog::add);
    connect(button(Remove), &QPushButton::clicked, this, &VariableDialog::remove);
    connect(button(Default), &QPushButton::clicked, this, &VariableDialog::makeDefault);
    connect(button(Choose), &QPushButton::clicked, this, &VariableDialog::choose);
    connect(button(Ok), &QPushButton::clicked, this, &VariableDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, 420);
    updateButtons();
}

QPushButton* VariableDialog::button(Button which) const { return buttons_[size_t(which)]; }

QStringList VariableDialog::fieldTexts() const {
    QStringList texts;
    for (QLineEdit* edit : edits_) texts.append(edit->text());
    return texts;
}

void VariableDialog::setRow(int row, const QStringList& texts) {
    if (row >= sets_->rowCount()) sets_->insertRow(row);
    for (int c = 0; c < kCount; ++c) sets_->setItem(row, c, new QTableWidgetItem(texts.value(c)));
}

bool VariableDialog::someRowHolds(const QStringList& texts) const {
    for (int r = 0; r < sets_->rowCount(); ++r) {
        bool same = true;
        for (int c = 0; c < kCount && same; ++c) same = sets_->item(r, c)->text() == texts.at(c);
        if (same) return true;
    }
    return false;
}

int VariableDialog::selectedRow() const {
    const auto rows = sets_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void VariableDialog::updateButtons() {
    const QStringList texts = fieldTexts();
    const bool allFilled = std::none_of(texts.begin(), texts.end(),
                                        [](const QString& t) { return t.isEmpty(); });
    const int row = selectedRow();
    const bool held = someRowHolds(texts);
    button(Ok)->setEnabled(allFilled);
    button(Save)->setEnabled(allFilled && row > 0 && !held);
    button(Add)->setEnabled(allFilled && !held);
    button(Remove)->setEnabled(allFilled && row > 0);
    button(Default)->setEnabled(allFilled);
    button(Choose)->setEnabled(allFilled && row >= 0);
}

void VariableDialog::save() {
    const int row = selectedRow();
    if (row <= 0) return;
    setRow(row, fieldTexts());
    updateButtons();
}

void VariableDialog::add() {
    setRow(sets_->rowCount(), fieldTexts());
    sets_->selectRow(sets_->rowCount() - 1);
    updateButtons();
}

void VariableDialog::remove() {
    const int row = selectedRow();
    if (row <= 0) return;
    sets_->removeRow(row);
    sets_->selectRow(0);
    updateButtons();
}

void VariableDialog::makeDefault() {
    const auto names = gbkTexts(fieldTexts());
    if (!names) return;
    if (!VariableNameList::saveAsDefault(*names)) {
        Messages::current().inform(QString::fromUtf8("无法写入 PemDefvar.dic。"));
    }
}

void VariableDialog::choose() {
    const int row = selectedRow();
    if (row < 0) return;
    for (int c = 0; c < kCount; ++c) edits_[size_t(c)]->setText(sets_->item(row, c)->text());
}

void VariableDialog::accept() {
    const auto names = gbkTexts(fieldTexts());
    if (!names) return;
    QList<QList<QByteArray>> saved;
    for (int r = 1; r < sets_->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < kCount; ++c) row.append(sets_->item(r, c)->text());
        const auto gbk = gbkTexts(row);
        if (!gbk) return;
        saved.append(*gbk);
    }
    if (sets_->rowCount() > 0 && !VariableNameList::saveSets(saved)) {
        Messages::current().inform(QString::fromUtf8("无法写入 PemVar.dic。"));
    }
    names_ = *names;
    QDialog::accept();
}

}  // namespace pemo
