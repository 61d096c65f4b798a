#include "UndoHistory.h"

#include <algorithm>

namespace pemo {

namespace {
uint64_t lastStampDrawn = 0;
}  // namespace

uint64_t UndoHistory::newStamp() { return ++lastStampDrawn; }

uint64_t UndoHistory::lastStamp() { return lastStampDrawn; }

uint64_t UndoHistory::undoStamp() const {
    return undoIndex_ >= 0 ? stamps_[static_cast<size_t>(undoIndex_)] : 0;
}

uint64_t UndoHistory::redoStamp() const {
    return canRedo() ? stamps_[static_cast<size_t>(undoIndex_ + 1)] : 0;
}

void UndoHistory::restoreFrom(const UndoHistory& other) {
    const unsigned generation = std::max(generation_, other.generation_) + 1;
    *this = other;
    generation_ = generation;
}

void UndoHistory::append(const QByteArray& page, uint64_t stamp) {
    if (count() == kCapacity) {
        forgottenStamp_ = std::max(forgottenStamp_, stamps_.front());
        states_.pop_front();
        stamps_.pop_front();
        // The states moved down by one; undoIndex must keep naming the same state.
        if (undoIndex_ >= 0) --undoIndex_;
    }
    states_.push_back(page);
    stamps_.push_back(stamp);
}

void UndoHistory::snapshot(const QByteArray& page) {
    ++generation_;
    states_.resize(static_cast<size_t>(undoIndex_ + 1));
    stamps_.resize(states_.size());
    append(page, newStamp());
    undoIndex_ = count() - 1;
    liveStateStored_ = false;
}

const QByteArray* UndoHistory::undo(const QByteArray& currentPage) {
    ++generation_;
    if (undoIndex_ < 0) return nullptr;
    stampAtUndo_ = lastStamp();
    if (!liveStateStored_) {
        append(currentPage, 0);
        liveStateStored_ = true;
        if (undoIndex_ < 0) return nullptr;
    }
    return &states_[static_cast<size_t>(undoIndex_--)];
}

const QByteArray* UndoHistory::redo() {
    ++generation_;
    if (!canRedo()) return nullptr;
    ++undoIndex_;
    return &states_[static_cast<size_t>(undoIndex_ + 1)];
}

void UndoHistory::dropRedo() {
    ++generation_;
    if (!canRedo()) return;
    states_.erase(states_.begin() + (undoIndex_ + 2), states_.end());
    stamps_.resize(states_.size());
}

void UndoHistory::clear() {
    ++generation_;
    forgottenStamp_ = std::max(forgottenStamp_, lastStamp());
    states_.clear();
    stamps_.clear();
    undoIndex_ = -1;
    liveStateStored_ = false;
}

}  // namespace pemo
