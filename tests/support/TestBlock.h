#pragma once

// A minimal block for tests of the block base, the block list and the record: it adds
// no fields to the stored forms and is hit inside its frame, with device pixels taken
// as twips.
#include <QImage>
#include <memory>

#include "core/blocks/Block.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"

namespace pemo::test {

class TestBlock : public Block {
public:
    bool hitTest(QImage& scratch, double, int x, int y) override {
        // The list must hand every block a freshly cleared scratch bitmap.
        scratchWasWhite = scratch.isNull() || scratch.pixel(0, 0) == qRgb(255, 255, 255);
        if (!scratch.isNull()) scratch.fill(Qt::black);
        ++hitTests;
        return x >= frame.left && x < frame.right && y >= frame.top && y < frame.bottom;
    }

    void setPlaceholderText(const QByteArray& text) override { shownText = text; }
    QByteArray pictureKey() const override { return key; }
    void setPictureKey(const QByteArray& k) override { key = k; }

    QByteArray shownText;
    QByteArray key;
    int hitTests = 0;
    bool scratchWasWhite = true;
};

// Gives the class bits back to the program's own block classes, for tests that read
// real blocks after others installed TestBlock.
inline void useProgramBlocks() {
    BlockFactory::setCreator(BlockKind::TextBit, [] { return std::make_unique<TextBlock>(); });
    BlockFactory::setCreator(BlockKind::GraphicBit, [] { return std::make_unique<GraphicBlock>(); });
    BlockFactory::setCreator(BlockKind::PictureBit, [] { return std::make_unique<PictureBlock>(); });
}

// Lets the block factory create TestBlock for every class bit.
inline void registerTestBlocks() {
    // The program's own classes register once, on first use; do that first so they do
    // not take the class bits back later.
    registerBlockClasses();
    for (int32_t bit : {BlockKind::GraphicBit, BlockKind::TextBit, BlockKind::PictureBit}) {
        BlockFactory::setCreator(bit, [] { return std::make_unique<TestBlock>(); });
    }
}

inline std::unique_ptr<TestBlock> makeBlock(int32_t kind, TwipsRect frame, int32_t layer = 7) {
    auto block = std::make_unique<TestBlock>();
    block->kind = kind;
    block->frame = frame;
    block->layer = layer;
    block->sizeWidth = frame.width();
    block->sizeHeight = frame.height();
    return block;
}

}  // namespace pemo::test
