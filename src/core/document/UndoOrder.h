#pragma once

#include <cstdint>

namespace pemo {

class CPatDoc;
class InfoRecord;

// The document's one history: every record's page history and the list's history, in
// the order the changes were made (their stamps). 撤消 takes back the newest change
// whichever record it touched, showing that record; 恢复 puts back the change taken back
// last. Taking back a change of the list thus first takes back every later change, one
// step each, and nothing is taken back past a change that can no longer be (a history
// that ran out of room or was emptied).
class UndoOrder {
public:
    enum class Side { None, Record, List };
    struct Step {
        Side side = Side::None;
        InfoRecord* record = nullptr;  // for Side::Record
    };

    static Step nextUndo(const CPatDoc& doc);
    static Step nextRedo(const CPatDoc& doc);
    static bool canUndo(const CPatDoc& doc) { return nextUndo(doc).side != Side::None; }
    static bool canRedo(const CPatDoc& doc) { return nextRedo(doc).side != Side::None; }

    // Takes back or puts back that step: a record's change makes that record current
    // first. The document is marked modified and told. False when there was none.
    static bool undo(CPatDoc& doc);
    static bool redo(CPatDoc& doc);
};

}  // namespace pemo
