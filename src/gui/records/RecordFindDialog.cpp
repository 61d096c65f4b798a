#include "RecordFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "RecordGrid.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"

namespace pemo {

namespace {
QString noResultCaption() {
    return QString::fromUtf8("查找结果");
}
}  // namespace

RecordFindDialog::RecordFindDialog(CPatDoc& doc, RecordGrid& grid, QWidget* parent)
    : QDialog(parent), doc_(doc), grid_(grid) {
    setWindowTitle(QString::fromUtf8("信息查找"));
    setModal(false);

    search_ = new QLineEdit(this);
    find_ = new QPushButton(QString::fromUtf8("查找"), this);
    find_->setDefault(true);
    findNext_ = new QPushButton(QString::fromUtf8("查找下一个"), this);
    result_ = new QLabel(noResultCaption(), this);
    value_ = new QLineEdit(this);
    value_->setReadOnly(true);

    auto* top = new QHBoxLayout;
    top->addWidget(search_, 1);
    top->addWidget(find_);
    top->addWidget(findNext_);
    auto* found = new QHBoxLayout;
    found->addWidget(result_);
    found->addWidget(value_, 1);
    auto* boxes = new QGridLayout;
    for (int k = 0; k < RecordSearch::kVariableCount; ++k) {
        auto* box = new QCheckBox(this);
        box->setChecked(true);
        boxes_[static_cast<size_t>(k)] = box;
        boxes->addWidget(box, k / 5, k % 5);
        connect(box, &QCheckBox::toggled, this, &RecordFindDialog::controlsChanged);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(found);
    layout->addLayout(boxes);

    connect(search_, &QLineEdit::textChanged, this, &RecordFindDialog::controlsChanged);
    connect(find_, &QPushButton::clicked, this, [this] {
        findNext_->setEnabled(true);
        search(doc_.currentIndex());
    });
    connect(findNext_, &QPushButton::clicked, this,
            [this] { search(RecordSearch::nextStart(doc_.currentIndex(), doc_.recordCount())); });
    connect(&grid_, &RecordGrid::columnsRenamed, this, &RecordFindDialog::renameVariables);
    renameVariables();
    controlsChanged();
}

void RecordFindDialog::renameVariables() {
    for (int k = 0; k < RecordSearch::kVariableCount; ++k) {
        boxes_[static_cast<size_t>(k)]->setText(Gbk::toUnicode(doc_.variableNames.name(k)));
    }
}

RecordSearch::Ticks RecordFindDialog::ticks() const {
    RecordSearch::Ticks t{};
    for (int k = 0; k < RecordSearch::kVariableCount; ++k) {
        t[static_cast<size_t>(k)] = boxes_[static_cast<size_t>(k)]->isChecked();
    }
    return t;
}

void RecordFindDialog::controlsChanged() {
    const RecordSearch::Ticks t = ticks();
    const bool anyTicked = std::find(t.begin(), t.end(), true) != t.end();
    find_->setEnabled(!search_->text().isEmpty() && anyTicked);
    findNext_->setEnabled(false);
}

void RecordFindDialog::search(int from) {
    bool ok = true;
    const QByteArray text = Gbk::fromUnicode(search_->text(), &ok);
    const RecordSearch::Match match =
        ok ? RecordSearch::find(doc_, text, ticks(), from) : RecordSearch::Match{};
    if (!match.found()) {
        result_->setText(noResultCaption());
        value_->clear();
        return;
    }
    result_->setText(Gbk::toUnicode(doc_.variableNames.name(match.variable)));
    value_->setText(Gbk::toUnicode(doc_.recordAt(match.record)->value(match.variable)));
    grid_.selectRecord(match.record);
}

void RecordFindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // 查找 from the keyboard: typing goes straight into the search text.
    activateWindow();
    search_->setFocus();
    emit visibilityChanged(true);
}

void RecordFindDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    emit visibilityChanged(false);
}

}  // namespace pemo
