#pragma once

#include <QByteArray>
#include <cstdint>
#include <deque>

namespace pemo {

// A record's undo states: up to 30 snapshots of the whole page, in memory only.
// undoIndex is the state the next Undo restores (-1 when none); liveStateStored tells
// whether the page shown now is itself stored (set by Undo, cleared by every change).
class UndoHistory {
public:
    static constexpr int kCapacity = 30;

    // Every change that can be taken back (a record's snapshot, a step of the list's
    // history) draws a stamp from one counter: the stamps put the changes of all the
    // records and of the list in one order (UndoOrder).
    static uint64_t newStamp();
    // The last stamp drawn; 0 before the first.
    static uint64_t lastStamp();

    // Before a change: drops states after undoIndex, makes room, stores the page.
    void snapshot(const QByteArray& page);
    // The state to restore for Undo, or null when there is none. currentPage is the
    // page shown now, stored first when it is not stored yet.
    const QByteArray* undo(const QByteArray& currentPage);
    // The state to restore for Redo, or null.
    const QByteArray* redo();

    bool canUndo() const { return undoIndex_ >= 0; }
    // A change taken back can be put back until any change is made anywhere.
    bool canRedo() const {
        return liveStateStored_ && undoIndex_ + 2 < count() && stampAtUndo_ == lastStamp();
    }
    // The stamp of the change Undo takes back, and of the change Redo puts back; 0 when
    // there is none.
    uint64_t undoStamp() const;
    uint64_t redoStamp() const;
    // Becomes a copy of other (kept by the list's history) as a new generation.
    void restoreFrom(const UndoHistory& other);
    // Forgets the states Redo would restore; the page shown stays stored.
    void dropRedo();
    // Forgets every state. The change that empties a history cannot be taken back, so no
    // change made before it can be either (forgottenStamp).
    void clear();
    // The newest change this history can no longer take back (dropped for room, or
    // forgotten by clear); 0 when none. Taking back an older change of the document
    // would pass over it.
    uint64_t forgottenStamp() const { return forgottenStamp_; }

    int undoIndex() const { return undoIndex_; }
    int count() const { return static_cast<int>(states_.size()); }
    bool liveStateStored() const { return liveStateStored_; }
    // Counts every snapshot, undo, redo and clearing: the same number means nothing
    // happened to the history in between.
    unsigned generation() const { return generation_; }

private:
    // Appends a state, discarding the oldest when full; keeps undoIndex on the same state.
    void append(const QByteArray& page, uint64_t stamp);

    std::deque<QByteArray> states_;
    std::deque<uint64_t> stamps_;  // per state: the change made right after it was stored
    int undoIndex_ = -1;
    bool liveStateStored_ = false;
    unsigned generation_ = 0;
    uint64_t forgottenStamp_ = 0;
    uint64_t stampAtUndo_ = 0;  // the last stamp drawn at the last Undo
};

}  // namespace pemo
