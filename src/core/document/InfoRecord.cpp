#include "InfoRecord.h"

#include <algorithm>

#include "core/pictures/PictureStore.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/config/MallInfoList.h"
#include "core/config/VariableNameList.h"

namespace pemo {

uint64_t InfoRecord::newSerial() {
    static uint64_t last = 0;
    return ++last;
}

QByteArray InfoRecord::value(int index) const {
    return index >= 0 && index < kValueCount ? values[static_cast<size_t>(index)] : QByteArray();
}

void InfoRecord::setValue(int index, const QByteArray& text) {
    if (index >= 0 && index < kValueCount) values[static_cast<size_t>(index)] = text;
}

bool InfoRecord::isEmpty() const {
    return productPicture.isEmpty() &&
           std::all_of(values.begin(), values.end(), [](const QByteArray& v) { return v.isEmpty(); });
}

void InfoRecord::clearValues() {
    for (QByteArray& v : values) v.clear();
    productPicture.clear();
}

void InfoRecord::setPageSize(int32_t newWidthMm, int32_t newHeightMm) {
    takeUndoSnapshot();
    resizePage(newWidthMm, newHeightMm);
}

void InfoRecord::resizePage(int32_t newWidthMm, int32_t newHeightMm) {
    const int32_t oldWidthTw = widthTw;
    const int32_t oldHeightTw = heightTw;
    widthMm = newWidthMm;
    heightMm = newHeightMm;
    widthTw = mmToTwips(newWidthMm);
    heightTw = mmToTwips(newHeightMm);
    clearSelection();
    if (oldWidthTw == 0 || oldHeightTw == 0) return;
    const double sx = double(widthTw) / oldWidthTw;
    const double sy = double(heightTw) / oldHeightTw;
    for (auto& block : blocks) block->scaleBy(sx, sy);
}

void InfoRecord::applyBackground(const PictureDescription& d, PictureStore& backgrounds) {
    background.category = d.category;
    background.name = d.name;
    background.extension = d.extension;
    background.templateName.clear();
    background.key = backgrounds.add(d);
    background.present = backgrounds.contains(background.key) ? 1 : 0;
}

bool InfoRecord::setProductPicture(const PictureDescription& picture, PictureStore& images) {
    Block* block = firstBlockOfKind(BlockKind::ProductPicture);
    if (auto* pictureBlock = dynamic_cast<PictureBlock*>(block)) {
        productPicture = pictureBlock->setProductPicture(picture, images);
    } else {
        const QByteArray key = picture.filePath.isEmpty() ? QByteArray() : images.add(picture);
        if (block) block->setPictureKey(key);
        productPicture = block ? block->pictureKey() : key;
    }
    return picture.filePath.isEmpty() || !productPicture.isEmpty();
}

QByteArray InfoRecord::placeholderText(int32_t kind, bool templateMode,
                                       const PlaceholderSources& sources) const {
    QByteArray text;
    QByteArray name;
    if (kind >= BlockKind::FirstVariable && kind <= BlockKind::LastVariable) {
        const int k = kind - BlockKind::FirstVariable;
        if (!templateMode) text = value(k);
        name = sources.variableNames ? sources.variableNames->name(k)
                                     : VariableNameList::defaultNames().value(k);
    } else if (kind >= BlockKind::FirstMallInfo && kind <= BlockKind::LastMallInfo) {
        const int m = kind - BlockKind::FirstMallInfo;
        const MallInfoEntry entry = sources.mallInfo ? sources.mallInfo->entry(m)
                                                     : MallInfoList::defaultEntries().value(m);
        if (!templateMode) text = entry.value;
        name = entry.name;
    } else if (kind >= BlockKind::OriginalPrice && kind <= BlockKind::Discount) {
        const int index = kOriginalPrice + (kind - BlockKind::OriginalPrice);
        if (!templateMode) text = value(index);
        static const QByteArray kPriceNames[] = {Gbk::fromUnicode(QString::fromUtf8("原价")),
                                                 Gbk::fromUnicode(QString::fromUtf8("现价")),
                                                 Gbk::fromUnicode(QString::fromUtf8("折扣"))};
        name = kPriceNames[kind - BlockKind::OriginalPrice];
    } else {
        return QByteArray();
    }
    return text.isEmpty() ? "{" + name + "}" : text;
}

void InfoRecord::refreshPlaceholder(int32_t kind, bool templateMode,
                                    const PlaceholderSources& sources) {
    if (kind == BlockKind::ProductPicture) {
        if (Block* block = firstBlockOfKind(kind)) {
            block->setPictureKey(templateMode ? QByteArray() : productPicture);
        }
        return;
    }
    // Most pages show few of the placeholder kinds; their texts are not worth making.
    if (!firstBlockOfKind(kind)) return;
    const QByteArray text = placeholderText(kind, templateMode, sources);
    for (auto& block : blocks) {
        if (block->kind == kind) block->setPlaceholderText(text);
    }
}

void InfoRecord::refreshPlaceholders(bool templateMode, const PlaceholderSources& sources) {
    for (int32_t k = BlockKind::FirstVariable; k <= BlockKind::LastVariable; ++k) {
        refreshPlaceholder(k, templateMode, sources);
    }
    for (int32_t m = BlockKind::FirstMallInfo; m <= BlockKind::LastMallInfo; ++m) {
        refreshPlaceholder(m, templateMode, sources);
    }
    for (int32_t p = BlockKind::OriginalPrice; p <= BlockKind::Discount; ++p) {
        refreshPlaceholder(p, templateMode, sources);
    }
    refreshPlaceholder(BlockKind::ProductPicture, templateMode, sources);
}

Block& InfoRecord::appendBlock(std::unique_ptr<Block> block) {
    blocks.push_back(std::move(block));
    return *blocks.back();
}

Block& InfoRecord::insertBlockAtFront(std::unique_ptr<Block> block) {
    blocks.insert(blocks.begin(), std::move(block));
    return *blocks.front();
}

std::unique_ptr<Block> InfoRecord::removeBlock(Block* block) {
    std::erase(selection, block);
    const auto it = std::find_if(blocks.begin(), blocks.end(),
                                 [block](const auto& b) { return b.get() == block; });
    if (it == blocks.end()) return nullptr;
    std::unique_ptr<Block> removed = std::move(*it);
    blocks.erase(it);
    return removed;
}

std::vector<Block*> InfoRecord::unlockedSelection() const {
    std::vector<Block*> out;
    for (Block* b : selection) {
        if (!b->locked) out.push_back(b);
    }
    return out;
}

void InfoRecord::clearSelection() {
    for (auto& block : blocks) {
        block->clearHandles();
        block->selected = false;
    }
    selection.clear();
}

void InfoRecord::selectBlock(Block* block) {
    block->selected = true;
    block->rebuildHandles(true);
    selection.push_back(block);
}

void InfoRecord::clearBlocks() {
    selection.clear();
    blocks.clear();
}

Block* InfoRecord::firstBlockOfKind(int32_t kind) const {
    for (const auto& block : blocks) {
        if (block->kind == kind) return block.get();
    }
    return nullptr;
}

QByteArray InfoRecord::snapshotPage() const {
    ArchiveWriter out;
    out.writeInt32(inPlaceEditing ? 1 : 0);
    out.writeInt32(widthMm);
    out.writeInt32(heightMm);
    out.writeInt32(widthTw);
    out.writeInt32(heightTw);
    for (const QByteArray& v : values) out.writeText(v);
    out.writeText(productPicture);
    writeBlockList(out, blocks, BlockForm::Snapshot);
    return out.take();
}

void InfoRecord::restorePage(const QByteArray& snapshot) {
    ArchiveReader in(snapshot);
    const bool editing = in.readInt32() != 0;
    const int32_t wMm = in.readInt32();
    const int32_t hMm = in.readInt32();
    const int32_t wTw = in.readInt32();
    const int32_t hTw = in.readInt32();
    std::array<QByteArray, kValueCount> newValues;
    for (QByteArray& v : newValues) v = in.readText();
    QByteArray picture = in.readText();
    BlockPtrList newBlocks = readBlockList(in, BlockForm::Snapshot);

    clearSelection();
    inPlaceEditing = editing;
    widthMm = wMm;
    heightMm = hMm;
    widthTw = wTw;
    heightTw = hTw;
    values = std::move(newValues);
    productPicture = std::move(picture);
    blocks = std::move(newBlocks);
    for (auto& block : blocks) {
        if (block->selected) {
            block->selected = false;
            selectBlock(block.get());
        }
    }
}

void InfoRecord::takeUndoSnapshot() { undoHistory.snapshot(snapshotPage()); }

bool InfoRecord::undo() {
    const QByteArray* state = undoHistory.undo(snapshotPage());
    if (!state) return false;
    restorePage(*state);
    return true;
}

bool InfoRecord::redo() {
    const QByteArray* state = undoHistory.redo();
    if (!state) return false;
    restorePage(*state);
    return true;
}

void InfoRecord::resetUndo() {
    undoHistory.clear();
    inPlaceEditing = false;
}

}  // namespace pemo
