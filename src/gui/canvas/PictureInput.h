#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>

class QPainter;

namespace pemo {

class InfoRecord;
class PictureBlock;

// Places a new picture block on the canvas: the picture commands arm it with the block,
// a drag on the page gives its frame (the picture shown stretched into the rubber band),
// and the release puts it on the page. Points are canvas pixels.
class PictureInput {
public:
    PictureInput();
    ~PictureInput();

    // The block to place next; its natural size is taken now for Shift's proportions.
    void arm(std::unique_ptr<PictureBlock> block);
    bool armed() const { return block_ != nullptr; }
    void disarm();

    // The press that starts the drag; keepProportions while Shift is held.
    void start(QPoint at, bool keepProportions);
    // The end point follows the mouse; with keepProportions the box takes the picture's
    // natural proportions on the side of the drag.
    void moveTo(QPoint at);
    // Abandons the drag; the block stays armed for the next one.
    void stop() { active_ = false; }
    bool active() const { return active_; }
    QRect rect() const { return QRect(start_, end_).normalized(); }
    QPoint endPoint() const { return end_; }
    void draw(QPainter& painter) const;

    // Ends the drag: the block takes frame, corners, size and the drag's points, is put
    // on the page in one undo step and selected; a product picture shows the record's
    // picture at once (none in template mode). The input is disarmed.
    void finish(InfoRecord& record, double zoom, int pixelsPerInch, bool templateMode);

    // The end point of a drag from start to end that keeps natural proportions (w × h).
    static QPoint proportionalEnd(QPoint start, QPoint end, QSize natural);

private:
    std::unique_ptr<PictureBlock> block_;
    QSize natural_;
    bool keepProportions_ = false;
    bool active_ = false;
    QPoint start_;
    QPoint end_;
};

}  // namespace pemo
