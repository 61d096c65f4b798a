#include "UndoOrder.h"

#include "CPatDoc.h"

namespace pemo {

UndoOrder::Side UndoOrder::undoSide(const CPatDoc& doc) {
    const InfoRecord* record = doc.currentRecord();
    const uint64_t own = record && record->undoHistory.canUndo() ? record->undoHistory.undoStamp() : 0;
    const uint64_t list = doc.listHistory().undoStamp();
    if (own == 0 && list == 0) return Side::None;
    return list > own ? Side::List : Side::Record;
}

UndoOrder::Side UndoOrder::redoSide(const CPatDoc& doc) {
    const InfoRecord* record = doc.currentRecord();
    const bool ownCan = record && record->undoHistory.canRedo();
    const bool listCan = doc.listHistory().canRedo();
    if (!ownCan && !listCan) return Side::None;
    if (!ownCan) return Side::List;
    if (!listCan) return Side::Record;
    return doc.listHistory().redoStamp() < record->undoHistory.redoStamp() ? Side::List
                                                                            : Side::Record;
}

}  // namespace pemo
