#pragma once

#include <QString>

#include "CanvasTool.h"

namespace pemo {

class TextBlock;

// Typing into the text block being edited in place: a press and drag on it places the
// caret and selects, keys move the caret and edit, typed characters go in one undo step
// each. A press anywhere else goes to the selection tool, which ends the editing.
class EditTextTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;

    void press(QMouseEvent* event, QPoint p) override;
    void drag(QMouseEvent* event, QPoint p) override;
    void release(QMouseEvent* event, QPoint p) override;
    void doubleClick(QMouseEvent* event, QPoint p) override;
    bool key(QKeyEvent* event) override;
    QCursor cursorAt(QPoint p) const override;

    // Puts the caret at p and lets the drag that follows select.
    void beginCaretDrag(QPoint p);
    bool caretDragging() const { return caretDrag_; }
    // Types each character as its own undo step; refuses what GBK cannot hold.
    void typeText(const QString& text);

private:
    void placeCaret(QPoint p, bool extend);
    // Fits the content to its frame again, as 自动排版 says.
    void refit(TextBlock& block);

    bool caretDrag_ = false;
};

}  // namespace pemo
