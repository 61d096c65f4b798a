#include "UndoOrder.h"

#include <algorithm>
#include <limits>

#include "CPatDoc.h"

namespace pemo {

namespace {

bool takeRecordStep(CPatDoc& doc, InfoRecord& record, bool undo) {
    if (!record.current) doc.setCurrentIndex(doc.indexOf(&record));
    if (!(undo ? record.undo() : record.redo())) return false;
    doc.setModified();
    doc.notify(CPatDoc::Change::Page);
    return true;
}

}  // namespace

UndoOrder::Step UndoOrder::nextUndo(const CPatDoc& doc) {
    const ListHistory& list = doc.listHistory();
    uint64_t horizon = list.forgottenStamp();
    Step newest;
    uint64_t newestStamp = 0;
    if (list.canUndo()) {
        newest.side = Side::List;
        newestStamp = list.undoStamp();
    }
    for (const auto& r : doc.records) {
        const UndoHistory& history = r->undoHistory;
        horizon = std::max(horizon, history.forgottenStamp());
        if (history.canUndo() && history.undoStamp() > newestStamp) {
            newest = {Side::Record, r.get()};
            newestStamp = history.undoStamp();
        }
    }
    return newestStamp > horizon ? newest : Step{};
}

UndoOrder::Step UndoOrder::nextRedo(const CPatDoc& doc) {
    const ListHistory& list = doc.listHistory();
    Step oldest;
    uint64_t oldestStamp = std::numeric_limits<uint64_t>::max();
    if (list.canRedo()) {
        oldest.side = Side::List;
        oldestStamp = list.redoStamp();
    }
    for (const auto& r : doc.records) {
        const UndoHistory& history = r->undoHistory;
        if (history.canRedo() && history.redoStamp() < oldestStamp) {
            oldest = {Side::Record, r.get()};
            oldestStamp = history.redoStamp();
        }
    }
    return oldest;
}

bool UndoOrder::undo(CPatDoc& doc) {
    const Step step = nextUndo(doc);
    switch (step.side) {
    case Side::List: return doc.listHistory().undo();
    case Side::Record: return takeRecordStep(doc, *step.record, true);
    case Side::None: break;
    }
    return false;
}

bool UndoOrder::redo(CPatDoc& doc) {
    const Step step = nextRedo(doc);
    switch (step.side) {
    case Side::List: return doc.listHistory().redo();
    case Side::Record: return takeRecordStep(doc, *step.record, false);
    case Side::None: break;
    }
    return false;
}

}  // namespace pemo
