#pragma once

#include <QPlainTextEdit>

#include "core/records/GridCursor.h"

namespace pemo {

// The editor laid over a grid cell while its text is typed in place. Enter, Tab and
// their Shift forms end the edit and say where the cell moves next; Up and Down do the
// same from the first or last line; Alt+Enter breaks the line; Esc cancels. Leaving the
// editor for another widget ends the edit as well.
class CellEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CellEditor(QWidget* parent);

    // Starts on text; selectAll for F2 keeps it, typed text replaces it.
    void start(const QString& text, const QRect& cell, bool digitsOnly);
    bool digitsOnly() const { return digitsOnly_; }

signals:
    // The edit ends with a move of the cell (or none).
    void finished(bool hasMove, GridCursor::Move move);
    void cancelled();
    // Focus went elsewhere.
    void left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void fitToText();

    QRect cell_;
    bool digitsOnly_ = false;
};

}  // namespace pemo
