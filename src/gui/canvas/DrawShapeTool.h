#pragma once

#include "CanvasTool.h"
#include "ShapeInput.h"

namespace pemo {

// Draws a new shape of the armed graphic kind through ShapeInput: dragged shapes from
// press to release, clicked shapes point by point with the rubber band following the
// mouse between the clicks.
class DrawShapeTool : public CanvasTool {
public:
    explicit DrawShapeTool(CPatCanvas& canvas);

    bool drawing() const { return input_.active(); }
    ShapeInput& input() { return input_; }

    void press(QMouseEvent* event, QPoint p) override;
    void drag(QMouseEvent* event, QPoint p) override;
    void release(QMouseEvent* event, QPoint p) override;
    void doubleClick(QMouseEvent* event, QPoint p) override;
    bool hover(QMouseEvent* event) override;
    bool key(QKeyEvent* event) override { return input_.keyPress(event); }
    bool abandon() override;
    void paint(QPainter& painter) const override { input_.paint(painter); }
    QCursor cursorAt(QPoint p) const override;

private:
    ShapeInput input_;
};

}  // namespace pemo
