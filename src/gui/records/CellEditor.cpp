#include "CellEditor.h"

#include <QKeyEvent>
#include <QTextBlock>

namespace pemo {

namespace {
constexpr int kMaxLinesShown = 5;
}

CellEditor::CellEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    document()->setDocumentMargin(1);
    setStyleSheet(QStringLiteral("QPlainTextEdit { border: 2px solid #1a56c4; background: white; }"));
    connect(this, &QPlainTextEdit::textChanged, this, &CellEditor::fitToText);
    hide();
}

void CellEditor::start(const QString& text, const QRect& cell, bool digitsOnly) {
    cell_ = cell;
    digitsOnly_ = digitsOnly;
    setPlainText(text);
    moveCursor(QTextCursor::End);
    fitToText();
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void CellEditor::fitToText() {
    // A text with line breaks grows the editor downwards, a few lines at most.
    const int lines = std::clamp(blockCount(), 1, kMaxLinesShown);
    const int lineHeight = fontMetrics().lineSpacing();
    const int height = std::max(cell_.height() + 4, lines * lineHeight + 8);
    const int widest = fontMetrics().horizontalAdvance(toPlainText().section(QLatin1Char('\n'), 0, 0));
    const int width = std::max(cell_.width() + 4, std::min(widest + 16, 400));
    setGeometry(cell_.left() - 1, cell_.top() - 2, width, height);
}

void CellEditor::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods & Qt::ShiftModifier;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (mods & Qt::AltModifier) {
                if (!digitsOnly_) textCursor().insertText(QStringLiteral("\n"));
                return;
            }
            emit finished(true, shift ? GridCursor::Move::BackEnter : GridCursor::Move::Enter);
            return;
        case Qt::Key_Tab: emit finished(true, GridCursor::Move::Tab); return;
        case Qt::Key_Backtab: emit finished(true, GridCursor::Move::BackTab); return;
        case Qt::Key_Escape: emit cancelled(); return;
        case Qt::Key_Up:
            if (textCursor().blockNumber() == 0) {
                emit finished(true, GridCursor::Move::Up);
                return;
            }
            break;
        case Qt::Key_Down:
            if (textCursor().blockNumber() == blockCount() - 1) {
                emit finished(true, GridCursor::Move::Down);
                return;
            }
            break;
        default:
            if (digitsOnly_ && !event->text().isEmpty() && event->text().at(0).isPrint() &&
                !event->text().at(0).isDigit()) {
                return;
            }
            break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CellEditor::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    // A popup of the editor's own (its context menu) or a message box is no leaving.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit left();
}

}  // namespace pemo
