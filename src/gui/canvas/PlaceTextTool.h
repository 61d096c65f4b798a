#pragma once

#include "CanvasTool.h"
#include "PlacementBand.h"

namespace pemo {

// Places a new text block of the armed kind: the drag pulls its frame open (a click
// gives a small one), the block starts with its initial text and is edited in place,
// and the selection tool is armed again.
class PlaceTextTool : public CanvasTool {
public:
    explicit PlaceTextTool(CPatCanvas& canvas);

    void press(QMouseEvent* event, QPoint p) override;
    void drag(QMouseEvent* event, QPoint p) override;
    void release(QMouseEvent* event, QPoint p) override;
    bool abandon() override;
    void paint(QPainter& painter) const override { band_.draw(painter); }
    QCursor cursorAt(QPoint p) const override;

private:
    void place();

    PlacementBand band_;
};

}  // namespace pemo
