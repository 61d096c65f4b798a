#include "PictureInput.h"

#include <QMouseEvent>

#include "CPatCanvas.h"
#include "CanvasHost.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/Twips.h"
#include "core/document/InfoRecord.h"

namespace pemo {

namespace {

// A click without a drag places the picture at its natural size on a 96 dpi screen.
constexpr int kNaturalPixelsPerInch = 96;
constexpr int32_t kSmallest = 100;

}  // namespace

PictureInput::PictureInput(CPatCanvas& canvas) : CanvasTool(canvas) {}
PictureInput::~PictureInput() = default;

void PictureInput::arm(std::unique_ptr<PictureBlock> block) {
    active_ = false;
    block_ = std::move(block);
    natural_ = block_ ? block_->naturalSize() : QSize();
}

void PictureInput::disarm() {
    active_ = false;
    block_.reset();
}

void PictureInput::press(QMouseEvent* event, QPoint p) {
    canvas_.stopEditing();
    if (!block_ || !BlockKind::isPicture(canvas_.armedKind())) return;
    canvas_.record()->clearSelection();
    active_ = true;
    keepProportions_ = event->modifiers() & Qt::ShiftModifier;
    start_ = p;
    end_ = p;
    canvas_.refresh();
}

void PictureInput::track(QPoint p) {
    QPoint at = canvas_.clampToCanvas(p);
    if (keepProportions_) at = proportionalEnd(start_, at, natural_);
    end_ = at;
}

void PictureInput::drag(QMouseEvent*, QPoint p) {
    if (!active_) return;
    track(p);
    canvas_.update();
}

void PictureInput::release(QMouseEvent*, QPoint p) {
    if (!active_) return;
    track(p);
    finish(*canvas_.record(), canvas_.zoom(), canvas_.ppi(), canvas_.host().templateMode());
    canvas_.setArmedKind(BlockKind::SelectionTool);
    canvas_.edited();
}

bool PictureInput::abandon() {
    if (!active_) return false;
    active_ = false;
    canvas_.refresh();
    return true;
}

QCursor PictureInput::cursorAt(QPoint) const {
    return CPatCanvas::cursorForKind(canvas_.armedKind());
}

QPoint PictureInput::proportionalEnd(QPoint start, QPoint end, QSize natural) {
    const int dx = std::abs(end.x() - start.x());
    const int dy = std::abs(end.y() - start.y());
    const int w = natural.width();
    const int h = natural.height();
    // No proportions to keep without a picture size or a box.
    if (w <= 0 || h <= 0 || (dx == 0 && dy == 0)) return end;
    const int signX = end.x() < start.x() ? -1 : 1;
    const int signY = end.y() < start.y() ? -1 : 1;
    if (dx == 0 || double(h) / dy > double(w) / dx) {
        return QPoint(start.x() + signX * int(qint64(dy) * w / h), end.y());
    }
    return QPoint(end.x(), start.y() + signY * int(qint64(dx) * h / w));
}

void PictureInput::paint(QPainter& painter) const {
    if (!active_ || !block_) return;
    const QRect r = rect();
    block_->drawPlacementFrame(painter, r.x(), r.y(), r.width(), r.height());
}

void PictureInput::finish(InfoRecord& record, double zoom, int pixelsPerInch, bool templateMode) {
    if (!active_ || !block_) return;
    active_ = false;
    const auto twips = [&](QPoint p) {
        return QPoint(toTwips(p.x(), zoom, pixelsPerInch), toTwips(p.y(), zoom, pixelsPerInch));
    };
    const QPoint a = twips(start_);
    const QPoint b = twips(end_);
    TwipsRect frame{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                    std::max(a.y(), b.y())};
    if (start_ == end_) {
        const QSize n = natural_.isEmpty() ? QSize(kNaturalPixelsPerInch, kNaturalPixelsPerInch) : natural_;
        frame.right = frame.left + n.width() * kTwipsPerInch / kNaturalPixelsPerInch;
        frame.bottom = frame.top + n.height() * kTwipsPerInch / kNaturalPixelsPerInch;
    }
    frame.right = std::max(frame.right, frame.left + kSmallest);
    frame.bottom = std::max(frame.bottom, frame.top + kSmallest);
    PictureBlock& block = *block_;
    block.setRect(frame);
    // A click places the picture at its natural size: no drag, nothing to mirror by.
    if (start_ == end_) {
        block.placementDrag = {0, 0, 0, 0};
    } else {
        block.placementDrag = {start_.x(), start_.y(), end_.x(), end_.y()};
    }
    if (keepProportions_) block.aspectMode = 1;
    if (BlockKind::isProductPicture(block.kind)) {
        block.setPictureKey(templateMode ? QByteArray() : record.productPicture);
    }
    record.takeUndoSnapshot();
    record.clearSelection();
    record.selectBlock(&record.appendBlock(std::move(block_)));
}

}  // namespace pemo
