#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Block.h"

namespace pemo {

class ArchiveReader;
class ArchiveWriter;
class PictureStore;

using BlockPtrList = std::vector<std::unique_ptr<Block>>;

// Calls fn for every block in drawing order: layer 0 to 14, list order inside a
// layer. Blocks outside the layers are skipped.
void forEachInDrawingOrder(const BlockPtrList& blocks, const std::function<void(Block&)>& fn);

// The block at device point (x, y): top layer first, list order inside a layer (so
// the earlier of two blocks in one layer wins). The scratch image is cleared to
// white before each block is asked.
Block* blockAt(const BlockPtrList& blocks, QImage& scratch, double zoom, int x, int y,
               bool selectedOnly = false);

// Every block at device point (x, y), in the order blockAt asks them: the top one first.
std::vector<Block*> blocksAt(const BlockPtrList& blocks, QImage& scratch, double zoom, int x, int y);

// The block under (x, y) that follows `current` in blocksAt's order, round to the top
// one again; the one under the top one when `current` is not there. Reaches a block
// that another block's frame covers. Null when nothing is there.
Block* nextBlockAt(const BlockPtrList& blocks, QImage& scratch, double zoom, int x, int y,
                   const Block* current);

struct GripHit {
    int32_t handleId = 0;
    int blockIndex = -1;
};

// The grip of a selected block at device point (x, y); the tolerance is 4 device
// pixels converted to twips.
std::optional<GripHit> gripAt(const BlockPtrList& blocks, int x, int y, double zoom,
                              double pixelsPerInch);

// Writes an int32 count, then for every block its kind and its stored form. The
// clipboard form takes the origin.
void writeBlockList(ArchiveWriter& out, const std::vector<const Block*>& blocks, BlockForm form,
                    QPoint origin = QPoint());
void writeBlockList(ArchiveWriter& out, const BlockPtrList& blocks, BlockForm form);

// Reads a block list written by writeBlockList. Throws FormatError for a kind without a
// class, a layer outside 0 to 14 or a count larger than the bytes left. For the
// clipboard form, each block's stored origin is appended to *origins.
BlockPtrList readBlockList(ArchiveReader& in, BlockForm form, const PictureStore* local = nullptr,
                           PictureStore* images = nullptr, std::vector<QPoint>* origins = nullptr);

}  // namespace pemo
