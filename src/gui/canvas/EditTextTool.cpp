#include "EditTextTool.h"

#include <QKeyEvent>

#include "CPatCanvas.h"
#include "SelectTool.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/InfoRecord.h"
#include "core/platform/Messages.h"
#include "core/text/RichText.h"

namespace pemo {

void EditTextTool::press(QMouseEvent* event, QPoint p) {
    canvas_.handPressTo(canvas_.selectTool());
    canvas_.selectTool().press(event, p);
}

void EditTextTool::doubleClick(QMouseEvent* event, QPoint p) {
    canvas_.handPressTo(canvas_.selectTool());
    canvas_.selectTool().doubleClick(event, p);
}

void EditTextTool::beginCaretDrag(QPoint p) {
    caretDrag_ = true;
    placeCaret(p, false);
}

void EditTextTool::drag(QMouseEvent*, QPoint p) {
    if (!caretDrag_) return;
    placeCaret(p, true);
    canvas_.refresh();
}

void EditTextTool::release(QMouseEvent*, QPoint p) {
    if (!caretDrag_) return;
    placeCaret(p, true);
    caretDrag_ = false;
    canvas_.refresh();
}

void EditTextTool::placeCaret(QPoint p, bool extend) {
    TextBlock* block = canvas_.editedBlock();
    if (!block) return;
    const QPoint t = canvas_.pageTwips(p) - QPoint(block->frame.left, block->frame.top);
    if (extend) {
        block->content()->extendSelectionTo(t.x(), t.y());
    } else {
        block->content()->setCaretAt(t.x(), t.y(), false);
    }
}

QCursor EditTextTool::cursorAt(QPoint p) const { return canvas_.selectTool().cursorAt(p); }

bool EditTextTool::key(QKeyEvent* event) {
    TextBlock* block = canvas_.editedBlock();
    if (!block) return false;
    RichText& text = *block->content();
    InfoRecord& r = *canvas_.record();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const auto edit = [&](auto change) {
        r.takeUndoSnapshot();
        change();
        refit(*block);
        canvas_.edited();
        return true;
    };
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_PageUp: text.caretUp(shift); break;
        case Qt::Key_Down:
        case Qt::Key_PageDown: text.caretDown(shift); break;
        case Qt::Key_Home: ctrl ? text.caretTextStart(shift) : text.caretLineStart(shift); break;
        case Qt::Key_End: ctrl ? text.caretTextEnd(shift) : text.caretLineEnd(shift); break;
        case Qt::Key_Left: text.caretLeft(shift); break;
        case Qt::Key_Right: text.caretRight(shift); break;
        case Qt::Key_Delete: canvas_.deleteSelection(); return true;
        case Qt::Key_Backspace: return edit([&] { text.deleteBackward(); });
        case Qt::Key_Return:
        case Qt::Key_Enter: return edit([&] { text.typeCharacter(13, 0); });
        case Qt::Key_Tab: return edit([&] { text.typeCharacter(9, 0); });
        case Qt::Key_Escape: canvas_.stopEditing(); return true;
        default: {
            const QString typed = event->text();
            if (typed.isEmpty() || ctrl || typed.at(0).unicode() < 32 || typed.at(0).unicode() == 127)
                return false;
            typeText(typed);
            return true;
        }
    }
    canvas_.refresh();
    return true;
}

void EditTextTool::typeText(const QString& typed) {
    TextBlock* block = canvas_.editedBlock();
    if (!block) return;
    InfoRecord& r = *canvas_.record();
    bool any = false;
    for (int i = 0; i < typed.size(); ++i) {
        // A character outside the basic plane is two code units and never fits GBK.
        const int length = typed.at(i).isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
        const QString character = typed.mid(i, length);
        i += length - 1;
        bool ok = true;
        const QByteArray bytes = Gbk::fromUnicode(character, &ok);
        if (!ok || bytes.isEmpty()) {
            Messages::current().inform(
                QString::fromUtf8("输入的文字中有无法保存的字符，请改用其他字符。"));
            break;
        }
        const auto lead = static_cast<uint8_t>(bytes.at(0));
        if (bytes.size() == 1 && (lead < 32 || lead > 126)) continue;
        r.takeUndoSnapshot();
        block->content()->typeCharacter(lead, bytes.size() > 1 ? uint8_t(bytes.at(1)) : 0);
        refit(*block);
        any = true;
    }
    if (any) canvas_.edited();
}

void EditTextTool::refit(TextBlock& block) {
    // The text never spills over its neighbours while it is typed.
    block.content()->fitToFrame(TextBlock::autoFit);
}

}  // namespace pemo
