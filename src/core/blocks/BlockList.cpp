#include "BlockList.h"

#include <QPainter>
#include <algorithm>

#include "BlockFactory.h"
#include "BlockKind.h"
#include "Twips.h"
#include "core/codecs/Archive.h"
#include "core/pictures/PictureStore.h"

namespace pemo {

void forEachInDrawingOrder(const BlockPtrList& blocks, const std::function<void(Block&)>& fn) {
    for (int layer = 0; layer < Block::kLayerCount; ++layer) {
        for (const auto& block : blocks) {
            if (block->layer == layer) fn(*block);
        }
    }
}

namespace {

// Gives visit the blocks under (x, y) in hit order until it returns true; returns that
// block.
Block* findHit(const BlockPtrList& blocks, QImage& scratch, double zoom, int x, int y, bool selectedOnly,
               const std::function<bool(Block&)>& visit) {
    for (int layer = Block::kLayerCount - 1; layer >= 0; --layer) {
        for (const auto& block : blocks) {
            if (block->layer != layer || (selectedOnly && !block->selected)) continue;
            scratch.fill(Qt::white);
            if (block->hitTest(scratch, zoom, x, y) && visit(*block)) return block.get();
        }
    }
    return nullptr;
}

}  // namespace

Block* blockAt(const BlockPtrList& blocks, QImage& scratch, double zoom, int x, int y,
               bool selectedOnly) {
    return findHit(blocks, scratch, zoom, x, y, selectedOnly, [](Block&) { return true; });
}

std::vector<Block*> blocksAt(const BlockPtrList& blocks, QImage& scratch, double zoom, int x, int y) {
    std::vector<Block*> hits;
    findHit(blocks, scratch, zoom, x, y, false, [&hits](Block& b) {
        hits.push_back(&b);
        return false;
    });
    return hits;
}

Block* nextBlockAt(const BlockPtrList& blocks, QImage& scratch, double zoom, int x, int y,
                   const Block* current) {
    const std::vector<Block*> hits = blocksAt(blocks, scratch, zoom, x, y);
    if (hits.empty()) return nullptr;
    const auto at = std::find(hits.begin(), hits.end(), current);
    if (at != hits.end()) return std::next(at) == hits.end() ? hits.front() : *std::next(at);
    return hits.size() > 1 ? hits[1] : hits.front();
}

std::optional<GripHit> gripAt(const BlockPtrList& blocks, int x, int y, double zoom,
                              double pixelsPerInch) {
    const int tx = toTwips(x, zoom, pixelsPerInch);
    const int ty = toTwips(y, zoom, pixelsPerInch);
    const int tolerance = toTwips(4, zoom, pixelsPerInch);
    for (int layer = Block::kLayerCount - 1; layer >= 0; --layer) {
        for (size_t i = 0; i < blocks.size(); ++i) {
            const Block& block = *blocks[i];
            if (block.layer != layer || !block.selected) continue;
            if (const BlockHandle* handle = block.hitHandle(tx, ty, tolerance)) {
                return GripHit{handle->id, static_cast<int>(i)};
            }
        }
    }
    return std::nullopt;
}

namespace {

void writeOne(ArchiveWriter& out, const Block& block, BlockForm form, QPoint origin) {
    out.writeInt32(block.kind);
    switch (form) {
        case BlockForm::Snapshot: block.storeSnapshot(out); break;
        case BlockForm::Document: block.store(out); break;
        case BlockForm::Template: block.storeTemplate(out); break;
        case BlockForm::Clip: block.storeClip(out, origin.x(), origin.y()); break;
    }
}

int32_t classBitOf(int32_t kind) {
    for (int32_t bit : {BlockKind::GraphicBit, BlockKind::TextBit, BlockKind::PictureBit}) {
        if (kind & bit) return bit;
    }
    return 0;
}

}  // namespace

void writeBlockList(ArchiveWriter& out, const std::vector<const Block*>& blocks, BlockForm form,
                    QPoint origin) {
    out.writeInt32(static_cast<int32_t>(blocks.size()));
    for (const Block* block : blocks) writeOne(out, *block, form, origin);
}

void writeBlockList(ArchiveWriter& out, const BlockPtrList& blocks, BlockForm form) {
    out.writeInt32(static_cast<int32_t>(blocks.size()));
    for (const auto& block : blocks) writeOne(out, *block, form, QPoint());
}

BlockPtrList readBlockList(ArchiveReader& in, BlockForm form, const PictureStore* local,
                           PictureStore* images, std::vector<QPoint>* origins) {
    // Every block takes at least its kind and a 44-byte base part.
    const int32_t count = in.readCount(4 + 44);
    PictureStore emptyLocal;
    PictureStore scratchImages;
    const PictureStore& localStore = local ? *local : emptyLocal;
    PictureStore& imageStore = images ? *images : scratchImages;

    BlockPtrList blocks;
    blocks.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t kind = in.readInt32();
        std::unique_ptr<Block> block = BlockFactory::create(kind);
        if (!block) throw FormatError();
        switch (form) {
            case BlockForm::Snapshot: block->loadSnapshot(in); break;
            case BlockForm::Document: block->load(in); break;
            case BlockForm::Template: block->loadTemplate(in, localStore, imageStore); break;
            case BlockForm::Clip: {
                QPoint origin;
                block->loadClip(in, localStore, imageStore, origin);
                if (origins) origins->push_back(origin);
                break;
            }
        }
        // The form repeats the kind; a different class would have misread the fields.
        if (classBitOf(block->kind) != classBitOf(kind)) throw FormatError();
        blocks.push_back(std::move(block));
    }
    return blocks;
}

}  // namespace pemo
