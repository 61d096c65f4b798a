#include "FontSizeDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/document/TextFormat.h"

namespace pemo {

FontSizeDialog::FontSizeDialog(int current, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("字号"));
    size_ = new QComboBox(this);
    size_->setEditable(true);
    size_->setInsertPolicy(QComboBox::NoInsert);
    for (const int points : FormatCommand::sizeChoices()) size_->addItem(QString::number(points));
    size_->setCurrentText(QString::number(current));
    size_->lineEdit()->selectAll();
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* hint = new QLabel(QString::fromUtf8("%1到%2磅；标签上的小字常用 6 到 14 磅。")
                                .arg(FormatCommand::kMinSize)
                                .arg(FormatCommand::kMaxSize),
                            this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8("字号："), size_);
    form->addRow(hint);
    form->addRow(problem_);
    form->addRow(buttons);
    connect(size_, &QComboBox::currentTextChanged, this, &FontSizeDialog::check);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    check();
}

int FontSizeDialog::points() const { return size_->currentText().trimmed().toInt(); }

void FontSizeDialog::check() {
    const QString problem = FormatCommand::sizeProblem(size_->currentText());
    problem_->setText(problem);
    problem_->setVisible(!problem.isEmpty());
    ok_->setEnabled(problem.isEmpty());
}

}  // namespace pemo
