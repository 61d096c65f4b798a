#pragma once

#include <cstdint>
#include <memory>

#include "CharClasses.h"
#include "CharStyle.h"
#include "SharedStyle.h"

namespace pemo {

class ArchiveReader;
class ArchiveWriter;

// Kind tags of items: the block kind whose value produced the item.
namespace TextKind {
inline constexpr int32_t Fixed = 0x02010001;  // typed, pasted or fixed text
inline constexpr int32_t OriginalPrice = 0x02040001;
inline constexpr int32_t CurrentPrice = 0x02040002;
inline constexpr int32_t Discount = 0x02040003;
inline bool isPrice(int32_t kind) {
    return kind >= OriginalPrice && kind <= Discount;
}
}  // namespace TextKind

// One character, space, line break, price field or the end of a rich text. Positions
// and sizes are twips relative to the content's top-left corner; they are valid
// after a layout.
class TextItem {
public:
    explicit TextItem(uint16_t itemClass) : itemClass_(itemClass) {}
    virtual ~TextItem() = default;
    TextItem(const TextItem&) = default;
    TextItem& operator=(const TextItem&) = delete;

    uint16_t itemClass() const { return itemClass_; }
    bool isFixed() const { return kind == TextKind::Fixed; }
    bool isEnd() const { return itemClass_ == ItemClass::End; }

    virtual std::unique_ptr<TextItem> clone() const { return std::make_unique<TextItem>(*this); }
    // Fields a subclass appends to the stored item form.
    virtual void writeExtra(ArchiveWriter&) const {}
    virtual void readExtra(ArchiveReader&) {}

    int32_t x = 0;        // horizontal: left edge; vertical: the column's baseline x
    int32_t y = 0;        // horizontal: baseline; vertical: top within the column
    int32_t width = 0;    // measured glyph width
    int32_t height = 0;   // measured cell height
    int32_t advance = 0;  // width with character spacing
    int32_t ascent = 0;   // measured ascent, then the baseline (or column baseline x)
    int32_t lineTop = 0;  // horizontal: top of the line; vertical: column's distance from the right
    // Kept 32-bit: a justified line in a large frame does not fit 16 bits.
    int32_t lineHeight = 0;
    int32_t drawnWidth = 0;
    uint8_t breakMark = 0;
    uint8_t lead = 0;
    uint8_t trail = 0;
    int32_t kind = TextKind::Fixed;
    SharedStyle style;

private:
    uint16_t itemClass_;
};

}  // namespace pemo
