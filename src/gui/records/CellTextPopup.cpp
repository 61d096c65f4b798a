#include "CellTextPopup.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include "core/codecs/Gbk.h"
#include "core/platform/Messages.h"

namespace pemo {

namespace {
// 139 × 114 dialog units; the edit takes the top 96, the buttons sit in the 18 below.
constexpr int kWidth = 209;
constexpr int kEditHeight = 144;
constexpr int kHeight = 171;
}  // namespace

CellTextPopup::CellTextPopup(const QByteArray& text, QWidget* parent)
    : GridPopup(parent), text_(text) {
    setFixedSize(kWidth, kHeight);
    edit_ = new QPlainTextEdit(this);
    edit_->setGeometry(0, 0, kWidth, kEditHeight);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    shown_ = Gbk::toUnicode(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edit_->setPlainText(shown_);
    shown_ = edit_->toPlainText();
    edit_->selectAll();
    edit_->installEventFilter(this);
    makeImageButton(true)->move(150, kEditHeight + 2);
    makeImageButton(false)->move(180, kEditHeight + 2);
    setFocusProxy(edit_);
    edit_->setFocus();
}

bool CellTextPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            nextMove_ = key->key() == Qt::Key_Tab ? GridCursor::Move::Tab
                                                  : GridCursor::Move::BackTab;
            accept();
            if (result() != Accepted) nextMove_.reset();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier) {
                edit_->textCursor().insertText(QStringLiteral("\n"));
            } else {
                accept();
            }
            return true;
        }
    }
    return GridPopup::eventFilter(watched, event);
}

void CellTextPopup::accept() {
    QString typed = edit_->toPlainText();
    // A tab or another control character pasted in would go into the sign's text.
    typed.removeIf([](QChar c) { return c.category() == QChar::Other_Control && c != u'\n'; });
    // An untouched text gives back its own bytes, whatever its line breaks were.
    if (typed == shown_) {
        GridPopup::accept();
        return;
    }
    bool ok = true;
    QByteArray gbk = Gbk::fromUnicode(typed, &ok);
    if (!ok) {
        Messages::current().inform(
            QString::fromUtf8("输入的文字中有无法保存的字符，请改用其他字符。"));
        return;
    }
    gbk.replace("\n", "\r\n");
    text_ = gbk;
    GridPopup::accept();
}

}  // namespace pemo
