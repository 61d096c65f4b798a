#include "TextFrameInput.h"

#include "core/blocks/TextBlock.h"

namespace pemo {

TextFrameInput::TextFrameInput() : frame_(std::make_unique<TextBlock>()) {}

TextFrameInput::~TextFrameInput() = default;

void TextFrameInput::start(QPoint at) {
    active_ = true;
    start_ = at;
    end_ = at;
}

QRect TextFrameInput::rect() const {
    return QRect(start_, end_).normalized();
}

void TextFrameInput::draw(QPainter& painter) const {
    if (!active_) return;
    const QRect r = rect();
    frame_->drawPlacementFrame(painter, r.x(), r.y(), r.width(), r.height());
}

}  // namespace pemo
