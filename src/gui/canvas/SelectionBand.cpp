#include "SelectionBand.h"

#include "core/blocks/Block.h"

namespace pemo {

void SelectionBand::start(QPoint at) {
    active_ = true;
    start_ = at;
    end_ = at;
}

QRect SelectionBand::rect() const {
    return QRect(start_, end_).normalized();
}

void SelectionBand::draw(QPainter& painter) const {
    if (!active_) return;
    const QRect r = rect();
    // Any block draws the same frame; the base class's look is the one wanted.
    Block look;
    look.drawPlacementFrame(painter, r.x(), r.y(), r.width(), r.height());
}

}  // namespace pemo
