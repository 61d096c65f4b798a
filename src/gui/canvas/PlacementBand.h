#pragma once

#include <QPoint>
#include <QRect>
#include <memory>

class QPainter;

namespace pemo {

class Block;

// The rubber band a drag pulls open on the canvas, in canvas pixels: the selection band,
// or the frame of a block being placed, drawn as that kind of block draws its placement
// frame.
class PlacementBand {
public:
    // Without a block, the band has the base look of every block's placement frame.
    explicit PlacementBand(std::unique_ptr<Block> look = nullptr);
    ~PlacementBand();

    void start(QPoint at);
    void moveTo(QPoint at) { end_ = at; }
    void stop() { active_ = false; }
    bool active() const { return active_; }
    QPoint startPoint() const { return start_; }
    QPoint endPoint() const { return end_; }
    // The band between the two points, whichever way it was dragged.
    QRect rect() const { return QRect(start_, end_).normalized(); }
    void draw(QPainter& painter) const;

private:
    bool active_ = false;
    QPoint start_;
    QPoint end_;
    std::unique_ptr<Block> look_;
};

}  // namespace pemo
