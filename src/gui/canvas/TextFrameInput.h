#pragma once

#include <QPoint>
#include <QRect>
#include <memory>

class QPainter;

namespace pemo {

class TextBlock;

// The rubber band that places a new text block, in canvas pixels. A blank text block
// draws the placement frame.
class TextFrameInput {
public:
    TextFrameInput();
    ~TextFrameInput();

    void start(QPoint at);
    void moveTo(QPoint at) { end_ = at; }
    void stop() { active_ = false; }
    bool active() const { return active_; }
    QPoint startPoint() const { return start_; }
    QPoint endPoint() const { return end_; }
    QRect rect() const;
    void draw(QPainter& painter) const;

private:
    bool active_ = false;
    QPoint start_;
    QPoint end_;
    std::unique_ptr<TextBlock> frame_;
};

}  // namespace pemo
