#pragma once

#include <QByteArray>
#include <array>
#include <memory>
#include <vector>

#include "BackgroundRef.h"
#include "core/pictures/PictureDescription.h"
#include "UndoHistory.h"
#include "core/blocks/BlockList.h"

class QPainter;

namespace pemo {

class MallInfoList;
class PictureStore;
class VariableNameList;

// Where placeholder blocks take their names and the mall's values from.
struct PlaceholderSources {
    const VariableNameList* variableNames = nullptr;
    const MallInfoList* mallInfo = nullptr;
};

// One record (信息): one product's values and its own page of blocks.
class InfoRecord {
public:
    // Value indices: 0 to 9 variables 1 to 10, then the three prices.
    static constexpr int kValueCount = 13;
    static constexpr int kOriginalPrice = 10;  // 原价
    static constexpr int kCurrentPrice = 11;   // 现价
    static constexpr int kDiscount = 12;       // 折扣

    // Page sizes outside these bounds cannot come from the program; a file holding one is
    // damaged.
    static bool isValidPageSize(int32_t wMm, int32_t hMm, int32_t wTw, int32_t hTw) {
        constexpr int32_t kMaxMm = 100000;
        constexpr int32_t kMaxTwips = kMaxMm * 57;
        return wMm > 0 && hMm > 0 && wMm <= kMaxMm && hMm <= kMaxMm && wTw > 0 && hTw > 0 &&
               wTw <= kMaxTwips && hTw <= kMaxTwips;
    }

    InfoRecord() = default;
    InfoRecord(const InfoRecord&) = delete;
    InfoRecord& operator=(const InfoRecord&) = delete;

    QByteArray value(int index) const;
    void setValue(int index, const QByteArray& text);
    // All 13 values and the product picture are empty; blocks do not count.
    bool isEmpty() const;
    // Empties the 13 values and the product picture; the blocks stay.
    void clearValues();

    // The page-size command: an undo snapshot, then resizePage.
    void setPageSize(int32_t widthMm, int32_t heightMm);
    // Stores the new size and scales every block by the ratio of the new and old twips.
    void resizePage(int32_t widthMm, int32_t heightMm);

    // Takes a library background: the picture goes into the backgrounds store.
    void applyBackground(const PictureDescription& background, PictureStore& backgrounds);
    // Gives the product picture to the first product-picture block, or keeps it in
    // images under productPicture. An empty description removes the picture. False
    // when the described file could not be copied (the record then has no picture).
    bool setProductPicture(const PictureDescription& picture, PictureStore& images);

    // Gives every placeholder block the text it shows.
    void refreshPlaceholders(bool templateMode, const PlaceholderSources& sources);
    // The same for the blocks of one placeholder kind only.
    void refreshPlaceholder(int32_t kind, bool templateMode, const PlaceholderSources& sources);
    // The text a placeholder block of this kind shows ("{name}" when the value is empty).
    QByteArray placeholderText(int32_t kind, bool templateMode,
                               const PlaceholderSources& sources) const;

    // Block list operations.
    Block& appendBlock(std::unique_ptr<Block> block);
    Block& insertBlockAtFront(std::unique_ptr<Block> block);
    std::unique_ptr<Block> removeBlock(Block* block);
    void clearSelection();
    void selectBlock(Block* block);
    // The selected blocks that are not locked, in order of selection: what moves.
    std::vector<Block*> unlockedSelection() const;
    void clearBlocks();
    Block* firstBlockOfKind(int32_t kind) const;

    // Undo: the page's snapshot form, and the history operations over it.
    QByteArray snapshotPage() const;
    void restorePage(const QByteArray& snapshot);
    void takeUndoSnapshot();
    bool undo();
    bool redo();
    // Empties the history (all states, index -1) and clears inPlaceEditing.
    void resetUndo();

    BlockPtrList blocks;
    std::vector<Block*> selection;  // not owned, in order of selection
    int32_t widthMm = 190;
    int32_t heightMm = 280;
    int32_t widthTw = 10771;
    int32_t heightTw = 15874;
    BackgroundRef background;
    UndoHistory undoHistory;
    std::array<QByteArray, kValueCount> values;
    QByteArray productPicture;
    bool current = false;
    int32_t copies = 1;  // 0 = not in the print queue
    bool inPlaceEditing = false;
    // Names this record for the list's history, which may take it out of the list and
    // give it back; never reused within a run.
    uint64_t serial = newSerial();

private:
    static uint64_t newSerial();
};

}  // namespace pemo
