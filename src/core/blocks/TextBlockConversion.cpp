// 文字图形化: turning a text block's live text into the outlines of its glyphs.
#include <algorithm>
#include <climits>

#include "BlockKind.h"
#include "TextBlock.h"
#include "core/graphics/TextOutline.h"
#include "core/text/OutlineCapture.h"
#include "core/text/RichText.h"

namespace pemo {

namespace {

int32_t saturated(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

bool TextBlock::canConvertToGraphic() const {
    if (!BlockKind::isFixedText(kind))
        return false;
    return !content_ || converted || !content_->isEmpty();
}

bool TextBlock::convertToGraphic() {
    if (converted || !content_)
        return false;
    auto outline = std::make_unique<TextOutline>();
    OutlineCapture::captureOutlines(*content_, *outline);
    const TwipsRect old = frame;
    int64_t newLeft = old.left, newTop = old.top, newRight = old.left, newBottom = old.top;
    if (!content_->isVertical()) {
        int64_t right = 0;
        for (int i = 0; i < content_->itemCount(); ++i) {
            const TextItem& it = content_->item(i);
            const uint16_t c = it.itemClass();
            if (ItemClass::isEndOrBreak(c) || ItemClass::isReserved(c))
                continue;
            right = std::max<int64_t>(right, int64_t(it.x) + it.width);
        }
        newTop = old.top + (int64_t(content_->frameHeight()) - content_->extent()) / 2;
        newBottom = newTop + content_->extent();
        newRight = newLeft + right;
    } else {
        int64_t minTop = 1000, maxBottom = 0, maxRight = 0;
        for (const OutlinePiece& p : outline->pieces) {
            minTop = std::min<int64_t>(minTop, p.top);
            maxBottom = std::max<int64_t>(maxBottom, int64_t(p.top) + p.height);
            maxRight = std::max<int64_t>(maxRight, int64_t(p.left) + p.width);
        }
        const int64_t w = content_->extent();
        for (OutlinePiece& p : outline->pieces) {
            p.left = saturated(p.left + w - maxRight + 200);
            p.top = saturated(p.top - minTop);
        }
        newLeft = old.left + (int64_t(old.right) - w - old.left - 200) / 2;
        newTop = old.top + (int64_t(old.bottom) + minTop - old.top - maxBottom) / 2;
        newBottom = maxBottom + newTop - minTop;
        newRight = newLeft + w + 200;
    }
    // The graphic keeps the look of the text: the art settings of its first character,
    // when the outline knows that effect; plain in that colour otherwise.
    const CharStyle& look = *content_->item(0).style;
    outline->textColour = look.textColour;
    if (TextOutline::knowsEffect(look.effect)) {
        outline->effect = look.effect;
        outline->size = look.effectSize;
        outline->effectColour = look.effectColour;
        outline->pattern = look.pattern;
        if (look.effect == TextOutline::PictureFill) outline->pictureKey = look.textureKey;
    }
    frame = TwipsRect{saturated(newLeft), saturated(newTop), saturated(newRight), saturated(newBottom)};
    sizeWidth = outlineReferenceWidth = frame.width();
    sizeHeight = outlineReferenceHeight = frame.height();
    corners_ = RotatedFrame::fromRect(frame);
    converted = 1;
    outline_ = std::move(outline);
    content_.reset();
    return true;
}

}  // namespace pemo
