#pragma once

#include <QPoint>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace pemo {

class CPatCanvas;
class GraphicBlock;

// The drawing tool of the shapes: collects the points of a graphic being drawn on the
// canvas, in canvas pixels, and hands the finished block to the current record.
// Two-point shapes, arrows and stars are dragged; polylines, curves and polygons are
// clicked point by point and end with a double click, a press outside the canvas or Esc.
class ShapeInput {
public:
    explicit ShapeInput(CPatCanvas& canvas);
    ~ShapeInput();
    ShapeInput(const ShapeInput&) = delete;
    ShapeInput& operator=(const ShapeInput&) = delete;

    bool active() const { return active_; }
    int32_t kind() const { return kind_; }

    // A left press with a graphic tool armed: starts a shape or adds a point.
    void mousePress(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void mouseDoubleClick(QMouseEvent* event);
    // Esc ends a clicked shape (or drops one too short); true when the key was taken.
    bool keyPress(QKeyEvent* event);
    // Right click: the input is dropped, the tool stays armed.
    void abandon();
    // The shape being drawn, outline only.
    void paint(QPainter& painter) const;

    // After a finished shape was added to the record (undo step taken, block selected,
    // selection tool armed): the canvas marks the document modified and refreshes.
    std::function<void()> finished;

    // The clicked points so far (canvas pixels).
    const std::vector<QPoint>& clickedPoints() const { return clicked_; }

private:
    bool isClickKind() const;
    QPoint clamped(QPoint p) const;
    // The current point with Shift's snapping of lines and boxes.
    QPoint tracked(QPoint p, bool shift) const;
    void begin(QPoint p, bool shift);
    // The points the finished shape keeps, or the rubber band's when drawing.
    std::vector<QPoint> shapePoints(bool rubberBand) const;
    void finish();
    void stop();

    CPatCanvas& canvas_;
    bool active_ = false;
    int32_t kind_ = 0;  // the armed tool's kind (stars keep their tool kind here)
    std::unique_ptr<GraphicBlock> block_;
    std::vector<QPoint> clicked_;
    QPoint start_;
    QPoint current_;
    QPoint previous_;
};

}  // namespace pemo
