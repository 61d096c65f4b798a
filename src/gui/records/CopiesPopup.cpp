#include "CopiesPopup.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "core/platform/Messages.h"

namespace pemo {

CopiesPopup::CopiesPopup(int copies, QWidget* parent) : GridPopup(parent), copies_(copies) {
    // 119 × 20 dialog units.
    setFixedSize(179, 30);
    auto* label = new QLabel(QString::fromUtf8("打印份数"), this);
    label->setGeometry(3, 3, 56, 24);
    edit_ = new QLineEdit(QString::number(copies), this);
    edit_->setGeometry(60, 4, 52, 22);
    edit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit_));
    edit_->selectAll();
    makeImageButton(true)->move(116, 3);
    makeImageButton(false)->move(146, 3);
    setFocusProxy(edit_);
    edit_->setFocus();
    connect(edit_, &QLineEdit::returnPressed, this, &CopiesPopup::accept);
}

void CopiesPopup::accept() {
    const QString text = edit_->text();
    if (text.isEmpty()) {
        Messages::current().inform(QString::fromUtf8("请键入一个整数。"));
        edit_->setFocus();
        return;
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value > kMaximum) {
        Messages::current().inform(
            QString::fromUtf8("“请填入一个在%1和%2之间的整数。”").arg(0).arg(kMaximum));
        edit_->selectAll();
        edit_->setFocus();
        return;
    }
    copies_ = static_cast<int>(value);
    GridPopup::accept();
}

}  // namespace pemo
