#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>

#include "CanvasTool.h"

namespace pemo {

class InfoRecord;
class PictureBlock;

// The tool that places a new picture block: the picture commands arm it with the block,
// a drag on the page gives its frame (the picture shown stretched into the rubber band;
// Shift keeps the picture's proportions), and the release puts it on the page mirrored
// by the drag's direction. Points are canvas pixels.
class PictureInput : public CanvasTool {
public:
    explicit PictureInput(CPatCanvas& canvas);
    ~PictureInput() override;

    // The block to place next; its natural size is taken now for Shift's proportions.
    void arm(std::unique_ptr<PictureBlock> block);
    bool armed() const { return block_ != nullptr; }
    void disarm();

    void press(QMouseEvent* event, QPoint p) override;
    void drag(QMouseEvent* event, QPoint p) override;
    void release(QMouseEvent* event, QPoint p) override;
    // The drag's end point for the mouse at p.
    void track(QPoint p);
    bool abandon() override;
    void paint(QPainter& painter) const override;
    QCursor cursorAt(QPoint p) const override;

    bool active() const { return active_; }
    QRect rect() const { return QRect(start_, end_).normalized(); }

    // Ends a drag from start to end: the block takes frame, corners, size and the drag's
    // points, is put on the page in one undo step and selected; a product picture shows
    // the record's picture at once (none in template mode). The tool is disarmed.
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
