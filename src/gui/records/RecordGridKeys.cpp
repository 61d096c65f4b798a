// The record grid's keyboard: the selected cell, typing in place, and blocks of cells
// through the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

#include "CellEditor.h"
#include "RecordGrid.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Messages.h"
#include "core/records/GridCells.h"
#include "core/records/GridPaste.h"

namespace pemo {

namespace {

using Move = GridCursor::Move;

// The move a key makes without Ctrl, if any; Shift+arrows and the like widen the block.
bool moveOfKey(const QKeyEvent* key, Move& move, bool& extend) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const bool shift = mods & Qt::ShiftModifier;
    extend = shift;
    switch (key->key()) {
        case Qt::Key_Left: move = Move::Left; return true;
        case Qt::Key_Right: move = Move::Right; return true;
        case Qt::Key_Up: move = Move::Up; return true;
        case Qt::Key_Down: move = Move::Down; return true;
        case Qt::Key_Home: move = Move::Home; return true;
        case Qt::Key_End: move = Move::End; return true;
        case Qt::Key_PageUp: move = Move::PageUp; return true;
        case Qt::Key_PageDown: move = Move::PageDown; return true;
        case Qt::Key_Tab: move = Move::Tab; extend = false; return true;
        case Qt::Key_Backtab: move = Move::BackTab; extend = false; return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            move = shift ? Move::BackEnter : Move::Enter;
            extend = false;
            return true;
        default: return false;
    }
}

bool isTyping(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    return mods == Qt::NoModifier && !key->text().isEmpty() && key->text().at(0).isPrint();
}

}  // namespace

bool RecordGrid::isGridKey(const QKeyEvent* key) const {
    Move move;
    bool extend = false;
    if (moveOfKey(key, move, extend) || isTyping(key))
        return true;
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
        key->matches(QKeySequence::Cut))
        return true;
    switch (key->key()) {
        case Qt::Key_F2:
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
        case Qt::Key_Escape: return key->modifiers() == Qt::NoModifier;
        default: return false;
    }
}

bool RecordGrid::event(QEvent* event) {
    // The frame's shortcuts (编辑's copy, paste, delete, undo) give way to the grid while
    // it has the focus, and Tab moves the cell instead of the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isGridKey(key)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
    Move move;
    bool extend = false;
    if (moveOfKey(event, move, extend)) {
        moveCursor(move, extend);
    } else if (event->matches(QKeySequence::Copy)) {
        copyCells();
    } else if (event->matches(QKeySequence::Cut)) {
        copyCells();
        clearCells();
    } else if (event->matches(QKeySequence::Paste)) {
        pasteCells();
    } else if (event->key() == Qt::Key_F2) {
        beginEdit(QString(), true);
    } else if (event->key() == Qt::Key_Delete) {
        clearCells();
    } else if (event->key() == Qt::Key_Backspace) {
        beginEdit(QString(), false);
    } else if (event->key() == Qt::Key_Escape) {
        placeCursor(cursor_.row(), cursor_.column());
    } else if (isTyping(event)) {
        beginEdit(event->text(), false);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void RecordGrid::inputMethodEvent(QInputMethodEvent* event) {
    // An input method composing a character starts the edit, which then takes over.
    if (!event->preeditString().isEmpty() || !event->commitString().isEmpty()) {
        if (beginEdit(QString(), false)) {
            QApplication::sendEvent(editor_, event);
            return;
        }
    }
    QWidget::inputMethodEvent(event);
}

void RecordGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void RecordGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

// ---- the selected cell ----

void RecordGrid::moveCursor(GridCursor::Move move, bool extend) {
    cursor_.move(move, doc_.recordCount(), visibleRowCount(), extend);
    followCursor();
}

void RecordGrid::placeCursor(int row, int column, bool extend) {
    cursor_.place(row, column, doc_.recordCount(), extend);
    followCursor();
}

void RecordGrid::followCursor() {
    const int row = cursor_.row();
    const InfoRecord* record = doc_.recordAt(row);
    if (record && !record->current) {
        followCurrent_ = false;
        doc_.setCurrentIndex(row);
        followCurrent_ = true;
    }
    setScrollRange();
    scrollToRow(row);
    update();
}

void RecordGrid::scrollToRow(int row) {
    // The keyboard scrolls no further than it takes to show the row.
    const int rows = std::max(1, geometry_.rowsThatFit());
    const int scroll = scrollPosition();
    if (row < scroll)
        scrollBar_->setValue(row);
    else if (row >= scroll + rows)
        scrollBar_->setValue(row - rows + 1);
}

// ---- typing in place ----

bool RecordGrid::beginEdit(const QString& text, bool keepValue) {
    if (isEditing())
        return true;
    const int row = cursor_.row();
    const int column = cursor_.column();
    const InfoRecord* record = doc_.recordAt(row);
    const int value = GridGeometry::valueIndexOfColumn(column);
    const bool copies = column == GridGeometry::kCopiesColumn;
    if (value < 0 && !copies) {
        if (column == GridGeometry::kPictureColumn && record && keepValue)
            editCell(row, column);
        return false;
    }
    QString start = text;
    if (copies && !text.isEmpty() && !text.at(0).isDigit())
        return false;
    if (keepValue && record) {
        start = copies ? QString::number(record->copies)
                       : Gbk::toUnicode(record->value(value)).replace(QStringLiteral("\r\n"),
                                                                      QStringLiteral("\n"));
    }
    // The cell is edited where it is shown.
    setScrollRange();
    scrollToRow(row);
    editRow_ = row;
    editColumn_ = column;
    editor_->start(start, cellRect(row, column), copies);
    update();
    return true;
}

void RecordGrid::placeEditor() {
    if (!isEditing())
        return;
    const QRect cell = cellRect(editRow_, editColumn_);
    const bool shown = editRow_ >= scrollPosition() &&
                       editRow_ < scrollPosition() + visibleRowCount();
    editor_->move(cell.left() - 1, cell.top() - 2);
    editor_->setVisible(shown);
}

bool RecordGrid::commitEdit() {
    if (!isEditing())
        return true;
    finishEdit(false, Move::Enter);
    return !isEditing();
}

void RecordGrid::finishEdit(bool hasMove, GridCursor::Move move) {
    if (!isEditing() || finishing_)
        return;
    finishing_ = true;
    const QString typed = editor_->toPlainText();
    bool stored = true;
    if (editColumn_ == GridGeometry::kCopiesColumn) {
        const GridCells::Copies copies = GridCells::parseCopies(typed);
        if (!copies.problem.isEmpty()) {
            Messages::current().inform(copies.problem);
            stored = false;
        } else {
            storeCopies(editRow_, copies.copies);
        }
    } else {
        bool ok = true;
        QByteArray gbk = Gbk::fromUnicode(typed, &ok);
        if (!ok) {
            Messages::current().inform(
                QString::fromUtf8("输入的文字中有无法保存的字符，请改用其他字符。"));
            stored = false;
        } else {
            gbk.replace("\n", "\r\n");
            storeText(editRow_, editColumn_, gbk);
        }
    }
    finishing_ = false;
    if (!stored) {
        // The refused text stays in the editor to be put right, the cell as it was.
        editor_->setFocus(Qt::OtherFocusReason);
        return;
    }
    editRow_ = editColumn_ = -1;
    editor_->hide();
    setFocus(Qt::OtherFocusReason);
    if (hasMove)
        moveCursor(move);
    else
        followCursor();
}

void RecordGrid::cancelEdit() {
    if (!isEditing())
        return;
    editRow_ = editColumn_ = -1;
    editor_->hide();
    setFocus(Qt::OtherFocusReason);
    setScrollRange();
    update();
}

// ---- blocks of cells ----

void RecordGrid::copyCells() {
    const QRect block = cursor_.selection();
    std::vector<QStringList> rows;
    for (int row = block.top(); row <= block.bottom(); ++row) {
        const InfoRecord* record = doc_.recordAt(row);
        if (!record)
            break;
        QStringList cells;
        for (int column = block.left(); column <= block.right(); ++column)
            cells.append(Gbk::toUnicode(cellText(*record, row, column)));
        rows.push_back(cells);
    }
    if (!rows.empty())
        QApplication::clipboard()->setText(GridCells::toClipboard(rows));
}

void RecordGrid::pasteCells() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasText() || data->text().isEmpty())
        return;
    CellTable cells;
    try {
        cells = GridCells::parseClipboard(data->text(),
                                          data->hasFormat(QStringLiteral("text/csv")));
    } catch (const FileError& error) {
        Messages::current().inform(error.message());
        return;
    }
    if (cells.rows.empty())
        return;
    const QRect block = cursor_.selection();
    auto paste = std::make_unique<GridPaste>(std::move(cells), block.top(), block.left());
    const QString problem = paste->problem();
    if (!problem.isEmpty()) {
        Messages::current().inform(problem);
        return;
    }
    if (const int filled = paste->overwrites(doc_); filled > 0) {
        const QString question =
            QString::fromUtf8("粘贴将替换%1个已有内容的单元格，是否继续?").arg(filled);
        if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes)
            return;
    }
    runPaste(std::move(paste));
}

void RecordGrid::clearCells() {
    const QRect block = cursor_.selection();
    CellTable empty;
    for (int row = block.top(); row <= std::min(block.bottom(), doc_.recordCount() - 1); ++row) {
        for (int column = block.left(); column <= block.right(); ++column)
            empty.set(row - block.top(), column - block.left(), QByteArray());
    }
    if (!empty.rows.empty())
        runPaste(std::make_unique<GridPaste>(std::move(empty), block.top(), block.left()));
}

void RecordGrid::runPaste(std::unique_ptr<GridPaste> paste) {
    const int row = cursor_.selection().top();
    const int column = cursor_.selection().left();
    const int before = doc_.recordCount();
    followCurrent_ = false;
    paste->apply(doc_, inTemplateMode());
    if (row >= before && doc_.recordAt(row))
        doc_.setCurrentIndex(row);
    if (doc_.recordCount() != before)
        doc_.notify(CPatDoc::Change::Records);
    followCurrent_ = true;
    cursor_.selectBlock(row, column, paste->rows(), std::max(1, paste->columns()),
                        doc_.recordCount());
    valuesEdited();
    emit statusChanged();
}

void RecordGrid::valuesEdited() {
    pageEdited();
    setScrollRange();
    scrollToRow(cursor_.row());
}

}  // namespace pemo
