#pragma once

#include <QByteArray>
#include <optional>

#include "GridPopup.h"
#include "core/records/GridCursor.h"

class QPlainTextEdit;

namespace pemo {

// The editor of a variable or price cell: a multi-line edit where Enter accepts,
// Shift+Enter breaks the line, Tab and Shift+Tab accept and go on to the next or the
// previous cell, and Esc cancels. Control characters never reach the value. Text goes in and out as GBK; line
// breaks are stored as CR LF.
class CellTextPopup : public GridPopup {
    Q_OBJECT
public:
    explicit CellTextPopup(const QByteArray& text, QWidget* parent = nullptr);

    QByteArray text() const { return text_; }
    QPlainTextEdit* edit() const { return edit_; }
    // How the popup was left for another cell (Tab, Shift+Tab); none after Enter.
    std::optional<GridCursor::Move> nextMove() const { return nextMove_; }

    // Refuses, with a message, a text holding a character GBK cannot hold.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* edit_ = nullptr;
    QByteArray text_;
    QString shown_;
    std::optional<GridCursor::Move> nextMove_;
};

}  // namespace pemo
