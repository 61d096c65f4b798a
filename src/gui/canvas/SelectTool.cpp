#include "SelectTool.h"
#include "ProgramCursors.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "CPatCanvas.h"
#include "EditTextTool.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/BlockList.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CanvasEditing.h"
#include "core/document/EditCommands.h"
#include "core/document/InfoRecord.h"

namespace pemo {

namespace {

QCursor cursorForGrip(int32_t grip) {
    switch (grip) {
        case BlockHandle::BottomRight:
        case BlockHandle::TopLeft: return Qt::SizeFDiagCursor;
        case BlockHandle::TopRight:
        case BlockHandle::BottomLeft: return Qt::SizeBDiagCursor;
        case BlockHandle::MiddleRight:
        case BlockHandle::MiddleLeft: return Qt::SizeHorCursor;
        case BlockHandle::MiddleBottom:
        case BlockHandle::MiddleTop: return Qt::SizeVerCursor;
        case SelectTool::kMoveGrip: return Qt::SizeAllCursor;
        case BlockHandle::Rotation: return ProgramCursors::rotation();
        case BlockHandle::Point: return ProgramCursors::point();
        default: return Qt::ArrowCursor;
    }
}

}  // namespace

void SelectTool::press(QMouseEvent* event, QPoint p) {
    InfoRecord& r = *canvas_.record();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    // Alt+click: the next block under the pointer, which reaches one that another
    // block's frame covers; the press moves it as a click on it would.
    if (event->modifiers() & Qt::AltModifier) {
        if (Block* next = canvas_.nextBlockAt(p)) {
            canvas_.stopEditing();
            r.clearSelection();
            r.selectBlock(next);
            const auto it = std::find_if(r.blocks.begin(), r.blocks.end(),
                                         [next](const auto& b) { return b.get() == next; });
            startDrag(kMoveGrip, int(it - r.blocks.begin()), p);
            canvas_.refresh();
            return;
        }
    }
    if (const auto grip = gripAt(r.blocks, p.x(), p.y(), canvas_.zoom(), canvas_.ppi())) {
        // A shape's point grip names the point it moves.
        const QPoint t = canvas_.pageTwips(p);
        const BlockHandle* h = r.blocks[size_t(grip->blockIndex)]->hitHandle(
            t.x(), t.y(), canvas_.pixelsToTwips(4));
        dragPoint_ = h ? h->index : -1;
        startDrag(grip->handleId, grip->blockIndex, p);
        return;
    }
    Block* under = canvas_.blockAt(p);
    if (ctrl && under && under->isLiveText()) {
        canvas_.editBlock(under, p);
        return;
    }
    Block* selectedUnder = r.selection.empty() ? nullptr : canvas_.blockAt(p, true);
    if (!shift && selectedUnder && canvas_.editedBlock() == selectedUnder) {
        canvas_.editBlock(selectedUnder, p);
        return;
    }
    canvas_.stopEditing();
    if (shift || !selectedUnder) {
        if (!under) {
            r.clearSelection();
            band_.start(p);
        } else if (shift && under->selected) {
            // Shift-click toggles: the block leaves the selection.
            under->selected = false;
            under->clearHandles();
            std::erase(r.selection, under);
        } else {
            if (!shift) r.clearSelection();
            r.selectBlock(under);
            const auto it = std::find_if(r.blocks.begin(), r.blocks.end(),
                                         [under](const auto& b) { return b.get() == under; });
            startDrag(kMoveGrip, int(it - r.blocks.begin()), p);
        }
        canvas_.refresh();
        return;
    }
    startDrag(kMoveGrip, -1, p);
    canvas_.refresh();
}

void SelectTool::startDrag(int32_t grip, int blockIndex, QPoint p) {
    draggedGrip_ = grip;
    dragBlock_ = blockIndex;
    dragSnapshotTaken_ = false;
    dragChanged_ = false;
    lastMouse_ = p;
    canvas_.setCursor(cursorForGrip(grip));
}

void SelectTool::snapshotOnce() {
    if (dragSnapshotTaken_) return;
    canvas_.record()->takeUndoSnapshot();
    dragSnapshotTaken_ = true;
}

void SelectTool::drag(QMouseEvent*, QPoint p) {
    if (band_.active()) {
        band_.moveTo(canvas_.clampToCanvas(p));
        canvas_.update();
    } else if (draggedGrip_ != kNoGrip) {
        dragTo(p);
    }
}

void SelectTool::dragTo(QPoint p) {
    InfoRecord& r = *canvas_.record();
    if (draggedGrip_ == kMoveGrip) {
        const QPoint delta = canvas_.pageTwips(p) - canvas_.pageTwips(lastMouse_);
        lastMouse_ = p;
        if (CanvasEditing::limitMove(r, delta).isNull()) return;
        snapshotOnce();
        CanvasEditing::moveSelection(r, delta);
        dragChanged_ = true;
        canvas_.refresh();
        return;
    }
    if (dragBlock_ < 0 || dragBlock_ >= int(r.blocks.size())) return;
    Block& block = *r.blocks[size_t(dragBlock_)];
    if (block.locked) return;
    const QPoint mouse = canvas_.pageTwips(p);
    const QPoint clamped = CanvasEditing::clampToPage(mouse, r.widthTw, r.heightTw);
    auto* text = dynamic_cast<TextBlock*>(&block);
    auto* picture = dynamic_cast<PictureBlock*>(&block);
    if (picture && (draggedGrip_ == BlockHandle::Rotation || BlockHandle::isResizeGrip(draggedGrip_))) {
        snapshotOnce();
        CanvasEditing::dragPictureGrip(*picture, draggedGrip_, clamped);
    } else if (draggedGrip_ == BlockHandle::Rotation) {
        if (!text || text->isLiveText()) return;
        snapshotOnce();
        text->rotateTowards(clamped.x(), clamped.y());
    } else if (BlockHandle::isResizeGrip(draggedGrip_)) {
        if (text) {
            snapshotOnce();
            CanvasEditing::resizeTextBlock(*text, draggedGrip_, clamped);
        } else {
            const TwipsRect frame = CanvasEditing::resizeFrame(
                block.frame, draggedGrip_, mouse, r.widthTw, r.heightTw, block.aspectMode == 1);
            if (frame == block.frame) return;
            snapshotOnce();
            block.frame = frame;
            if (auto* shape = dynamic_cast<GraphicBlock*>(&block)) shape->rescalePoints();
            block.rebuildHandles(true);
        }
    } else if (auto* shape = dynamic_cast<GraphicBlock*>(&block);
               shape && draggedGrip_ == BlockHandle::Point) {
        snapshotOnce();
        const bool shift = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
        shape->movePoint(dragPoint_, clamped.x(), clamped.y(), shift,
                         InkCanvas{canvas_.size(), canvas_.zoom(), canvas_.ppi()});
        shape->rebuildHandles(true);
    } else {
        return;
    }
    dragChanged_ = true;
    canvas_.refresh();
}

void SelectTool::release(QMouseEvent*, QPoint p) {
    InfoRecord& r = *canvas_.record();
    if (draggedGrip_ != kNoGrip) {
        dragTo(p);
        draggedGrip_ = kNoGrip;
        dragBlock_ = -1;
        if (dragChanged_) canvas_.edited();
        canvas_.setCursor(cursorAt(p));
    } else if (band_.active()) {
        band_.stop();
        const QPoint a = canvas_.pageTwips(band_.startPoint());
        const QPoint b = canvas_.pageTwips(band_.endPoint());
        CanvasEditing::selectInBand(r, TwipsRect{std::min(a.x(), b.x()), std::min(a.y(), b.y()),
                                                 std::max(a.x(), b.x()), std::max(a.y(), b.y())});
        canvas_.refresh();
    }
}

void SelectTool::doubleClick(QMouseEvent* event, QPoint p) {
    Block* under = canvas_.blockAt(p);
    if (!under || !under->isLiveText()) {
        // Anywhere else the second press of a double click is an ordinary press.
        press(event, p);
        return;
    }
    draggedGrip_ = kNoGrip;
    canvas_.editBlock(under, p);
}

bool SelectTool::abandon() {
    if (!band_.active()) return false;
    band_.stop();
    canvas_.refresh();
    return true;
}

QCursor SelectTool::cursorAt(QPoint p) const {
    const InfoRecord* r = canvas_.record();
    if (!r) return Qt::ArrowCursor;
    if (const auto grip = gripAt(r->blocks, p.x(), p.y(), canvas_.zoom(), canvas_.ppi())) {
        return cursorForGrip(grip->handleId);
    }
    if (!r->selection.empty() && canvas_.blockAt(p, true)) {
        return canvas_.editedBlock() ? Qt::IBeamCursor : Qt::SizeAllCursor;
    }
    if (const Block* any = canvas_.blockAt(p)) return CPatCanvas::cursorForKind(any->kind);
    return Qt::ArrowCursor;
}

bool SelectTool::key(QKeyEvent* event) {
    InfoRecord* r = canvas_.record();
    if (!r || r->selection.empty()) return false;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const int step = std::max(1, canvas_.pixelsToTwips(1));
    switch (event->key()) {
        case Qt::Key_Escape:
            r->clearSelection();
            canvas_.refresh();
            return true;
        case Qt::Key_PageUp: canvas_.runCommand(EditCommand::AlignTop); return true;
        case Qt::Key_PageDown: canvas_.runCommand(EditCommand::AlignBottom); return true;
        case Qt::Key_End: canvas_.runCommand(EditCommand::AlignRight); return true;
        case Qt::Key_Home: canvas_.runCommand(EditCommand::AlignLeft); return true;
        case Qt::Key_Left: nudge(-step, 0); return true;
        case Qt::Key_Right: nudge(step, 0); return true;
        case Qt::Key_Up: nudge(0, -step); return true;
        case Qt::Key_Down: nudge(0, step); return true;
        case Qt::Key_Delete: canvas_.deleteSelection(); return true;
        default: return false;
    }
}

void SelectTool::nudge(int dx, int dy) {
    InfoRecord& r = *canvas_.record();
    // The arrow keys keep a single block on the page too, like a group.
    const QPoint delta = CanvasEditing::limitGroupMove(r, QPoint(dx, dy));
    if (delta.isNull()) return;
    // A run of nudges of the same blocks, with nothing else done in between, is one step.
    const bool continuing = nudges_.record == &r && nudges_.selection == r.selection &&
                            nudges_.generation == r.undoHistory.generation();
    if (!continuing) r.takeUndoSnapshot();
    nudges_ = {&r, r.selection, r.undoHistory.generation()};
    for (Block* b : r.unlockedSelection()) b->moveBy(delta.x(), delta.y());
    canvas_.edited();
}

}  // namespace pemo
