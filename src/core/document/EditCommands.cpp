#include "EditCommands.h"

#include <algorithm>
#include <limits>

#include "CPatDoc.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace EC = EditCommand;

namespace {


// Moves a block to the end (drawn last in its layer) or the front of the page's list;
// the selection is not touched.
void moveInList(InfoRecord& record, Block* block, bool front) {
    auto& blocks = record.blocks;
    const auto it = std::find_if(blocks.begin(), blocks.end(),
                                 [block](const auto& b) { return b.get() == block; });
    if (it == blocks.end()) return;
    std::unique_ptr<Block> owned = std::move(*it);
    blocks.erase(it);
    if (front) {
        blocks.insert(blocks.begin(), std::move(owned));
    } else {
        blocks.push_back(std::move(owned));
    }
}

// The line a paste adds for a block whose kind is already on the page.
QString conflictLine(int32_t kind, const CPatDoc& doc) {
    QString name;
    if (kind == BlockKind::ProductPicture) {
        name = QString::fromUtf8("{商品照片}");
    } else {
        QByteArray configured;
        if (kind >= BlockKind::FirstVariable && kind <= BlockKind::LastVariable) {
            configured = doc.variableNames.name(kind - BlockKind::FirstVariable);
        } else if (kind >= BlockKind::FirstMallInfo && kind <= BlockKind::LastMallInfo) {
            const MallInfoList defaults;
            const MallInfoList& mall = doc.mallInfo ? *doc.mallInfo : defaults;
            configured = mall.entry(kind - BlockKind::FirstMallInfo).name;
        }
        name = Gbk::toUnicode(BlockKind::displayName(kind, configured));
    }
    return QString::fromUtf8("已有%1, 剪贴板中%2被忽略。\n").arg(name, name);
}

bool isUniqueKind(int32_t kind) {
    return kind == BlockKind::ProductPicture ||
           (kind >= BlockKind::FirstVariable && kind <= BlockKind::LastVariable) ||
           (kind >= BlockKind::OriginalPrice && kind <= BlockKind::Discount) ||
           (kind >= BlockKind::FirstMallInfo && kind <= BlockKind::LastMallInfo);
}

}  // namespace

bool EditCommands::isEnabled(int id, const InfoRecord& record) {
    const auto unlocked = record.unlockedSelection();
    switch (id) {
        case EC::Undo: return record.undoHistory.canUndo();
        case EC::Redo: return record.undoHistory.canRedo();
        case EC::Cut:
        case EC::Copy:
        case EC::Delete:
        case EC::Lock: return !record.selection.empty();
        case EC::SelectAll: return !record.blocks.empty();
        case EC::AlignTop:
        case EC::CentreVertically:
        case EC::AlignBottom:
        case EC::AlignLeft:
        case EC::CentreHorizontally:
        case EC::AlignRight: return !unlocked.empty();
        case EC::TopEdges:
        case EC::BottomEdges:
        case EC::LeftEdges:
        case EC::RightEdges: return unlocked.size() >= 2;
        case EC::ToTop:
        case EC::LayerUp:
            return std::any_of(unlocked.begin(), unlocked.end(),
                               [](const Block* b) { return b->layer < Block::kLayerCount - 1; });
        case EC::ToBottom:
        case EC::LayerDown:
            return std::any_of(unlocked.begin(), unlocked.end(),
                               [](const Block* b) { return b->layer > 0; });
        default: return false;
    }
}

bool EditCommands::isChecked(int id, const InfoRecord& record) {
    return id == EC::Lock && !record.selection.empty() && record.selection.front()->locked;
}

bool EditCommands::run(int id, InfoRecord& record) {
    if (!isEnabled(id, record)) return false;
    record.takeUndoSnapshot();
    const auto unlocked = record.unlockedSelection();
    const int32_t W = record.widthTw;
    const int32_t H = record.heightTw;
    switch (id) {
        case EC::AlignLeft:
            for (Block* b : unlocked) b->moveBy(-b->frame.left, 0);
            break;
        case EC::CentreHorizontally:
            for (Block* b : unlocked) {
                b->moveBy((b->frame.left + W - b->frame.right) / 2 - b->frame.left, 0);
            }
            break;
        case EC::AlignRight:
            for (Block* b : unlocked) b->moveBy(W - b->frame.right, 0);
            break;
        case EC::AlignTop:
            for (Block* b : unlocked) b->moveBy(0, -b->frame.top);
            break;
        case EC::CentreVertically:
            for (Block* b : unlocked) {
                b->moveBy(0, (b->frame.top + H - b->frame.bottom) / 2 - b->frame.top);
            }
            break;
        case EC::AlignBottom:
            for (Block* b : unlocked) b->moveBy(0, H - b->frame.bottom);
            break;
        case EC::LeftEdges: {
            int32_t ref = std::numeric_limits<int32_t>::max();
            for (Block* b : unlocked) ref = std::min(ref, b->frame.left);
            for (Block* b : unlocked) b->moveBy(ref - b->frame.left, 0);
            break;
        }
        case EC::RightEdges: {
            int32_t ref = std::numeric_limits<int32_t>::min();
            for (Block* b : unlocked) ref = std::max(ref, b->frame.right);
            for (Block* b : unlocked) b->moveBy(ref - b->frame.right, 0);
            break;
        }
        case EC::TopEdges: {
            int32_t ref = std::numeric_limits<int32_t>::max();
            for (Block* b : unlocked) ref = std::min(ref, b->frame.top);
            for (Block* b : unlocked) b->moveBy(0, ref - b->frame.top);
            break;
        }
        case EC::BottomEdges: {
            int32_t ref = std::numeric_limits<int32_t>::min();
            for (Block* b : unlocked) ref = std::max(ref, b->frame.bottom);
            for (Block* b : unlocked) b->moveBy(0, ref - b->frame.bottom);
            break;
        }
        case EC::ToTop:
        case EC::LayerUp:
        case EC::ToBottom:
        case EC::LayerDown: {
            const bool front = id == EC::ToBottom || id == EC::LayerDown;
            for (Block* b : unlocked) {
                if (id == EC::ToTop) b->layer = Block::kLayerCount - 1;
                if (id == EC::ToBottom) b->layer = 0;
                if (id == EC::LayerUp) b->layer = std::min(b->layer + 1, Block::kLayerCount - 1);
                if (id == EC::LayerDown) b->layer = std::max(b->layer - 1, 0);
                moveInList(record, b, front);
                b->rebuildHandles(true);
            }
            break;
        }
        case EC::Lock: {
            const bool lock = !record.selection.front()->locked;
            for (Block* b : record.selection) b->locked = lock;
            break;
        }
        case EC::SelectAll:
            for (auto& b : record.blocks) {
                if (!b->selected) record.selectBlock(b.get());
            }
            break;
        case EC::Delete:
            // From the last selected block to the first.
            while (!record.selection.empty()) {
                Block* b = record.selection.back();
                record.selection.pop_back();
                record.removeBlock(b);
            }
            record.clearSelection();
            break;
        default: return false;
    }
    return true;
}

void EditCommands::deleteSelection(InfoRecord& record) { run(EC::Delete, record); }

QByteArray EditCommands::copySelection(const InfoRecord& record, const CPatDoc& doc) {
    int32_t ox = record.widthTw;
    int32_t oy = record.heightTw;
    for (const Block* b : record.selection) {
        ox = std::min(ox, b->frame.left);
        oy = std::min(oy, b->frame.top);
    }
    PictureStore pictures;
    for (const Block* b : record.selection) b->exportPictures(pictures, doc.images);
    ArchiveWriter out;
    pictures.write(out, false);
    out.writeInt32(record.widthMm);
    out.writeInt32(record.heightMm);
    std::vector<const Block*> blocks(record.selection.begin(), record.selection.end());
    writeBlockList(out, blocks, BlockForm::Clip, QPoint(ox, oy));
    return out.take();
}

QString EditCommands::paste(InfoRecord& record, CPatDoc& doc, const QByteArray& stream,
                            bool templateMode) {
    // Everything is read before the page changes, so a damaged stream pastes nothing.
    ArchiveReader in(stream);
    PictureStore local;
    local.read(in);
    const int32_t sourceWidthMm = in.readInt32();
    const int32_t sourceHeightMm = in.readInt32();
    if (sourceWidthMm <= 0 || sourceHeightMm <= 0) throw FormatError();
    std::vector<QPoint> origins;
    BlockPtrList blocks = readBlockList(in, BlockForm::Clip, &local, &doc.images, &origins);

    record.takeUndoSnapshot();
    record.clearSelection();
    const bool sameSize = record.widthMm == sourceWidthMm && record.heightMm == sourceHeightMm;
    const double sx = double(record.widthMm) / sourceWidthMm;
    const double sy = double(record.heightMm) / sourceHeightMm;
    QString message;
    for (size_t i = 0; i < blocks.size(); ++i) {
        std::unique_ptr<Block>& block = blocks[i];
        if (isUniqueKind(block->kind) && record.firstBlockOfKind(block->kind)) {
            message += conflictLine(block->kind, doc);
            continue;
        }
        if (sameSize) {
            block->moveBy(origins[i].x(), origins[i].y());
        } else {
            block->scaleBy(sx, sy);
        }
        Block& placed = record.appendBlock(std::move(block));
        record.selectBlock(&placed);
    }
    record.refreshPlaceholders(templateMode, doc.placeholderSources());
    return message;
}

}  // namespace pemo
