#pragma once

#include <QCursor>
#include <QPoint>
#include <Qt>

class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace pemo {

class CPatCanvas;

// One way of working on the canvas: selecting and dragging blocks, placing a new block,
// typing into a text block. The canvas hands the mouse and the keys to the tool that is
// armed (or that took the press, until the release) and paints the tool's rubber band
// over the page.
class CanvasTool {
public:
    explicit CanvasTool(CPatCanvas& canvas) : canvas_(canvas) {}
    virtual ~CanvasTool() = default;
    CanvasTool(const CanvasTool&) = delete;
    CanvasTool& operator=(const CanvasTool&) = delete;

    // Left button only; p in canvas pixels.
    virtual void press(QMouseEvent* event, QPoint p) = 0;
    virtual void drag(QMouseEvent* event, QPoint p) { (void)event, (void)p; }
    virtual void release(QMouseEvent* event, QPoint p) { (void)event, (void)p; }
    // The mouse moves with no press under way; true when the tool took it (the canvas
    // then leaves the cursor alone).
    virtual bool hover(QMouseEvent* event) {
        (void)event;
        return false;
    }
    virtual void doubleClick(QMouseEvent* event, QPoint p) { press(event, p); }
    // True when the key was the tool's.
    virtual bool key(QKeyEvent* event) {
        (void)event;
        return false;
    }
    // Drops an input in progress (a right click, Esc); false when there was none.
    virtual bool abandon() { return false; }
    virtual void paint(QPainter& painter) const { (void)painter; }
    virtual QCursor cursorAt(QPoint p) const = 0;

protected:
    CPatCanvas& canvas_;
};

}  // namespace pemo
