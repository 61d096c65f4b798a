#include "CustomPageSizeDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/document/PageSizes.h"
#include "core/platform/Messages.h"

namespace pemo {

namespace {

// Empty text counts as a whole number still being typed.
bool isWholeNumberOrEmpty(const QString& text) {
    if (text.isEmpty()) return true;
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

int valueOf(const QLineEdit* edit) {
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    return ok ? value : 0;
}

}  // namespace

CustomPageSizeDialog::CustomPageSizeDialog(int widthMm, int heightMm, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("自定义模板幅面"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    width_ = addEdit(widthMm);
    height_ = addEdit(heightMm);
    form->addRow(QString::fromUtf8("宽度(毫米):"), width_);
    form->addRow(QString::fromUtf8("高度(毫米):"), height_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    confirm_ = buttons->addButton(QString::fromUtf8("确认"), QDialogButtonBox::AcceptRole);
    confirm_->setDefault(true);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateConfirm();
}

QLineEdit* CustomPageSizeDialog::addEdit(int value) {
    auto* edit = new QLineEdit(QString::number(value), this);
    // The last acceptable text, restored when typing spoils the number.
    edit->setProperty("accepted", edit->text());
    connect(edit, &QLineEdit::textEdited, this, [this, edit] { checkTyped(edit); });
    connect(edit, &QLineEdit::textChanged, this, &CustomPageSizeDialog::updateConfirm);
    return edit;
}

void CustomPageSizeDialog::checkTyped(QLineEdit* edit) {
    if (isWholeNumberOrEmpty(edit->text())) {
        edit->setProperty("accepted", edit->text());
        return;
    }
    const QString previous = edit->property("accepted").toString();
    const int cursor = std::min(edit->cursorPosition(), int(previous.size()));
    edit->setText(previous);
    edit->setCursorPosition(cursor);
    Messages::current().inform(QString::fromUtf8("请键入一个整数。"));
    edit->setFocus();
}

void CustomPageSizeDialog::updateConfirm() {
    // Text that is not a number reads as 0, which is out of range too.
    confirm_->setEnabled(PageSizes::isCustomSizeAccepted(widthMm(), heightMm()));
}

int CustomPageSizeDialog::widthMm() const {
    return valueOf(width_);
}
int CustomPageSizeDialog::heightMm() const {
    return valueOf(height_);
}

}  // namespace pemo
