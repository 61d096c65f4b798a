#include "ShapeInput.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "CPatCanvas.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/document/CPatDoc.h"
#include "core/graphics/ShapeGeometry.h"

namespace pemo {

namespace {

bool isStarTool(int32_t kind) {
    return kind >= BlockKind::FirstStarTool && kind <= BlockKind::LastStarTool;
}

bool isBoxKind(int32_t kind) {
    return kind == BlockKind::Ellipse || kind == BlockKind::Rectangle ||
           kind == BlockKind::RoundRect;
}

// Arrows keeping an adjust point, by how its default is placed.
bool isHorizontalAdjusted(int32_t kind) {
    return kind == 0x01000011 || kind == 0x01000015 || kind == 0x01000017 || kind == 0x01000019;
}
bool isVerticalAdjusted(int32_t kind) {
    return kind == 0x01000012 || kind == 0x01000016 || kind == 0x01000018 || kind == 0x0100001A;
}
bool isDoubleArrow(int32_t kind) { return kind == 0x01000013 || kind == 0x01000014; }

}  // namespace

ShapeInput::ShapeInput(CPatCanvas& canvas) : canvas_(canvas) {}

ShapeInput::~ShapeInput() = default;

bool ShapeInput::isClickKind() const {
    return kind_ == BlockKind::Polyline || kind_ == BlockKind::Curve ||
           kind_ == BlockKind::ClosedCurve || kind_ == BlockKind::Polygon;
}

QPoint ShapeInput::clamped(QPoint p) const {
    return QPoint(std::clamp(p.x(), 0, canvas_.width()), std::clamp(p.y(), 0, canvas_.height()));
}

QPoint ShapeInput::tracked(QPoint p, bool shift) const {
    const QPoint c = clamped(p);
    if (!shift) return c;
    if (kind_ == BlockKind::Line) {
        const QPoint d = c - start_;
        return clamped(ShapeGeometry::snapTo15Degrees(start_, c, std::hypot(d.x(), d.y())));
    }
    if (isBoxKind(kind_)) return clamped(ShapeGeometry::squareCorner(start_, c));
    return c;
}

void ShapeInput::begin(QPoint p, bool shift) {
    const DrawingStyle& style = canvas_.drawingStyle();
    block_ = std::make_unique<GraphicBlock>();
    block_->kind = isStarTool(kind_) ? BlockKind::Polygon : kind_;
    block_->penWidth = style.penWidth;
    block_->penStyle = style.penStyle;
    block_->fillType = style.fillType;
    block_->penColour = int32_t(style.penColour);
    block_->fillColour = int32_t(style.fillColour);
    block_->shadowColour = int32_t(style.shadowColour);
    block_->shadowDirection = int16_t(style.shadowDirection);
    block_->shadowDistance = int16_t(style.shadowDistance);
    if (shift && isBoxKind(kind_)) block_->aspectMode = 1;
    start_ = current_ = previous_ = clamped(p);
    clicked_.clear();
    if (isClickKind()) {
        clicked_.push_back(start_);
        // Between clicks no button is held: a press outside the canvas must still come here.
        canvas_.grabMouse();
    }
    active_ = true;
    if (InfoRecord* r = canvas_.record()) r->clearSelection();
    canvas_.update();
}

void ShapeInput::mousePress(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    if (!active_) {
        kind_ = canvas_.armedKind();
        // The triangle has no drawing tool: a press creates nothing.
        if (!BlockKind::isGraphic(kind_) || kind_ == BlockKind::Triangle) return;
        begin(p, event->modifiers() & Qt::ShiftModifier);
        return;
    }
    if (!isClickKind()) return;
    const QPoint c = clamped(p);
    clicked_.push_back(c);
    current_ = previous_ = c;
    if (!canvas_.rect().contains(p)) {
        // A press outside the canvas ends the input.
        if (clicked_.size() > 2) {
            finish();
        } else {
            // Too short to keep: dropped, and the drawing tool with it.
            abandon();
            canvas_.setArmedKind(BlockKind::SelectionTool);
        }
        return;
    }
    canvas_.update();
}

void ShapeInput::mouseMove(QMouseEvent* event) {
    if (!active_) return;
    previous_ = current_;
    current_ = tracked(event->position().toPoint(), event->modifiers() & Qt::ShiftModifier);
    if (current_ != previous_) canvas_.update();
}

void ShapeInput::mouseRelease(QMouseEvent* event) {
    if (!active_ || isClickKind() || event->button() != Qt::LeftButton) return;
    current_ = tracked(event->position().toPoint(), event->modifiers() & Qt::ShiftModifier);
    finish();
}

void ShapeInput::mouseDoubleClick(QMouseEvent* event) {
    if (!active_ || !isClickKind() || event->button() != Qt::LeftButton) return;
    finish();
}

bool ShapeInput::keyPress(QKeyEvent* event) {
    if (!active_ || event->key() != Qt::Key_Escape) return false;
    const size_t needed = kind_ == BlockKind::Polyline ? 2 : 3;
    if (isClickKind() && clicked_.size() >= needed) {
        finish();
    } else {
        abandon();
    }
    return true;
}

void ShapeInput::stop() {
    if (isClickKind()) canvas_.releaseMouse();
    active_ = false;
    clicked_.clear();
}

void ShapeInput::abandon() {
    if (!active_) return;
    stop();
    block_.reset();
    canvas_.update();
}

std::vector<QPoint> ShapeInput::shapePoints(bool rubberBand) const {
    const QPoint s = start_, e = current_;
    if (isStarTool(kind_)) return ShapeGeometry::starPoints(kind_, s, e);
    if (isClickKind()) {
        if (rubberBand) {
            std::vector<QPoint> band = clicked_;
            band.push_back(e);
            return band;
        }
        const size_t enough = kind_ == BlockKind::Polyline ? 2 : 3;
        if (clicked_.size() >= enough) return clicked_;
        if (kind_ == BlockKind::Polyline) return {s, e};
        return {s, e, e};
    }
    if (rubberBand) return {s, e};
    if (isHorizontalAdjusted(kind_)) {
        return {s, e,
                {e.x() - (e.x() - s.x()) / 4,
                 std::min(s.y(), e.y()) + (std::max(s.y(), e.y()) - std::min(s.y(), e.y())) / 4}};
    }
    if (isVerticalAdjusted(kind_)) {
        return {s, e,
                {std::min(s.x(), e.x()) + (std::max(s.x(), e.x()) - std::min(s.x(), e.x())) / 4,
                 e.y() - (e.y() - s.y()) / 4}};
    }
    if (isDoubleArrow(kind_)) {
        const int L = std::min(s.x(), e.x()), R = std::max(s.x(), e.x());
        const int T = std::min(s.y(), e.y()), B = std::max(s.y(), e.y());
        return {{L, T}, {R, B}, {L + (R - L) / 4, T + (B - T) / 4}};
    }
    return {s, e};
}

void ShapeInput::finish() {
    if (!active_) return;
    std::unique_ptr<GraphicBlock> block = std::move(block_);
    block->points = shapePoints(false);
    stop();
    InfoRecord* r = canvas_.record();
    if (!r) return;
    block->fitFrameToInputInk(InkCanvas{canvas_.size(), canvas_.zoom(), canvas_.ppi()});
    r->takeUndoSnapshot();
    r->clearSelection();
    r->selectBlock(&r->appendBlock(std::move(block)));
    canvas_.setArmedKind(BlockKind::SelectionTool);
    if (finished) finished();
}

void ShapeInput::paint(QPainter& painter) const {
    if (!active_ || !block_) return;
    // Drawn in wire mode at zoom 1 from the canvas points: frame and size stay zero.
    GraphicBlock band;
    band.kind = block_->kind;
    band.penColour = block_->penColour;
    band.penStyle = block_->penStyle;
    band.penWidth = block_->penWidth;
    band.fillType = block_->fillType;
    band.fillColour = block_->fillColour;
    band.points = shapePoints(true);
    const bool singleCurvePoint = (kind_ == BlockKind::Curve || kind_ == BlockKind::ClosedCurve) &&
                                  clicked_.size() == 1;
    if (singleCurvePoint) {
        // One straight line from the press point in the block's own pen.
        QPen pen = band.devicePen(1.0, 72, false);
        pen.setWidth(std::max(1, block_->penWidth));
        ShapeGeometry::drawBody(painter, BlockKind::Polyline, {start_, current_}, pen, Qt::NoBrush);
        return;
    }
    band.draw(painter, DrawFlag::Wire, 1.0, 0, 0);
}

}  // namespace pemo
