#pragma once

#include <QByteArray>
#include <deque>

namespace pemo {

// A record's undo states: up to 30 snapshots of the whole page, in memory only.
// undoIndex is the state the next Undo restores (-1 when none); liveStateStored tells
// whether the page shown now is itself stored (set by Undo, cleared by every change).
class UndoHistory {
public:
    static constexpr int kCapacity = 30;

    // Before a change: drops states after undoIndex, makes room, stores the page.
    void snapshot(const QByteArray& page);
    // The state to restore for Undo, or null when there is none. currentPage is the
    // page shown now, stored first when it is not stored yet.
    const QByteArray* undo(const QByteArray& currentPage);
    // The state to restore for Redo, or null.
    const QByteArray* redo();

    bool canUndo() const { return undoIndex_ >= 0; }
    bool canRedo() const { return liveStateStored_ && undoIndex_ + 2 < count(); }
    // Forgets the states Redo would restore; the page shown stays stored.
    void dropRedo();
    void clear();

    int undoIndex() const { return undoIndex_; }
    int count() const { return static_cast<int>(states_.size()); }
    bool liveStateStored() const { return liveStateStored_; }
    // Counts every snapshot, undo, redo and clearing: the same number means nothing
    // happened to the history in between.
    unsigned generation() const { return generation_; }

private:
    // Appends a state, discarding the oldest when full; keeps undoIndex on the same state.
    void append(const QByteArray& page);

    std::deque<QByteArray> states_;
    int undoIndex_ = -1;
    bool liveStateStored_ = false;
    unsigned generation_ = 0;
};

}  // namespace pemo
