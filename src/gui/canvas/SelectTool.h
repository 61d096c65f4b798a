#pragma once

#include <cstdint>
#include <vector>

#include "CanvasTool.h"
#include "PlacementBand.h"

namespace pemo {

class Block;
class InfoRecord;

// The selection tool: a click selects (Shift adds or takes away), a drag moves the
// selection, resizes or turns a block by its grips, or pulls a band around blocks; a
// double click or Ctrl-click on live text starts typing into it; Alt+click selects the
// next block under the pointer; the keys align, nudge and delete the selection.
class SelectTool : public CanvasTool {
public:
    // The dragged-grip value while blocks are moved as a whole.
    static constexpr int32_t kMoveGrip = -8;
    static constexpr int32_t kNoGrip = -1;

    using CanvasTool::CanvasTool;

    void press(QMouseEvent* event, QPoint p) override;
    void drag(QMouseEvent* event, QPoint p) override;
    void release(QMouseEvent* event, QPoint p) override;
    void doubleClick(QMouseEvent* event, QPoint p) override;
    bool key(QKeyEvent* event) override;
    bool abandon() override;
    void paint(QPainter& painter) const override { band_.draw(painter); }
    QCursor cursorAt(QPoint p) const override;

    int32_t draggedGrip() const { return draggedGrip_; }

private:
    void startDrag(int32_t grip, int blockIndex, QPoint p);
    // Applies the mouse position to the dragged grip or the moved blocks.
    void dragTo(QPoint p);
    // The first real change of a drag takes the undo snapshot, so one drag is one step.
    void snapshotOnce();
    void nudge(int dx, int dy);

    PlacementBand band_;
    int32_t draggedGrip_ = kNoGrip;
    int dragBlock_ = -1;
    int dragPoint_ = -1;  // the point index of a dragged point grip
    bool dragSnapshotTaken_ = false;
    bool dragChanged_ = false;
    QPoint lastMouse_;
    // The last run of arrow-key nudges: which blocks, and the history as it stood after.
    struct NudgeRun {
        const InfoRecord* record = nullptr;
        std::vector<Block*> selection;
        unsigned generation = 0;
    } nudges_;
};

}  // namespace pemo
