#pragma once

#include <QPoint>
#include <QRect>

class QPainter;

namespace pemo {

// The rubber band of the selection tool, in canvas pixels.
class SelectionBand {
public:
    void start(QPoint at);
    void moveTo(QPoint at) { end_ = at; }
    void stop() { active_ = false; }
    bool active() const { return active_; }
    QPoint startPoint() const { return start_; }
    QPoint endPoint() const { return end_; }
    // The band between the two points, whichever way it was dragged.
    QRect rect() const;
    // The placement-frame look of a block being placed.
    void draw(QPainter& painter) const;

private:
    bool active_ = false;
    QPoint start_;
    QPoint end_;
};

}  // namespace pemo
