#include "PlacementBand.h"

#include "core/blocks/Block.h"

namespace pemo {

PlacementBand::PlacementBand(std::unique_ptr<Block> look)
    : look_(look ? std::move(look) : std::make_unique<Block>()) {}

PlacementBand::~PlacementBand() = default;

void PlacementBand::start(QPoint at) {
    active_ = true;
    start_ = at;
    end_ = at;
}

void PlacementBand::draw(QPainter& painter) const {
    if (!active_) return;
    const QRect r = rect();
    look_->drawPlacementFrame(painter, r.x(), r.y(), r.width(), r.height());
}

}  // namespace pemo
