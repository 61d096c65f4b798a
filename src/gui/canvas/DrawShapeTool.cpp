#include "DrawShapeTool.h"
#include "ProgramCursors.h"

#include "CPatCanvas.h"

namespace pemo {

DrawShapeTool::DrawShapeTool(CPatCanvas& canvas) : CanvasTool(canvas), input_(canvas) {
    input_.finished = [&canvas] { canvas.edited(); };
}

void DrawShapeTool::press(QMouseEvent* event, QPoint) {
    canvas_.stopEditing();
    input_.mousePress(event);
}

void DrawShapeTool::drag(QMouseEvent* event, QPoint) { input_.mouseMove(event); }

void DrawShapeTool::release(QMouseEvent* event, QPoint) { input_.mouseRelease(event); }

void DrawShapeTool::doubleClick(QMouseEvent* event, QPoint p) {
    if (!input_.active()) return press(event, p);
    input_.mouseDoubleClick(event);
}

bool DrawShapeTool::hover(QMouseEvent* event) {
    if (!input_.active()) return false;
    input_.mouseMove(event);
    return true;
}

bool DrawShapeTool::abandon() {
    if (!input_.active()) return false;
    input_.abandon();
    canvas_.refresh();
    return true;
}

QCursor DrawShapeTool::cursorAt(QPoint) const { return ProgramCursors::graphic(); }

}  // namespace pemo
