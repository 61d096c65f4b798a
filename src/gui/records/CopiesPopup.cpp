#include "CopiesPopup.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "core/platform/Messages.h"
#include "core/records/GridCells.h"

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
    const GridCells::Copies copies = GridCells::parseCopies(edit_->text());
    if (!copies.problem.isEmpty()) {
        Messages::current().inform(copies.problem);
        if (!edit_->text().isEmpty())
            edit_->selectAll();
        edit_->setFocus();
        return;
    }
    copies_ = copies.copies;
    GridPopup::accept();
}

}  // namespace pemo
