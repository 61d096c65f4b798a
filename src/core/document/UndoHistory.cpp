#include "UndoHistory.h"

namespace pemo {

void UndoHistory::append(const QByteArray& page) {
    if (count() == kCapacity) {
        states_.pop_front();
        // The states moved down by one; undoIndex must keep naming the same state.
        if (undoIndex_ >= 0) --undoIndex_;
    }
    states_.push_back(page);
}

void UndoHistory::snapshot(const QByteArray& page) {
    ++generation_;
    states_.resize(static_cast<size_t>(undoIndex_ + 1));
    append(page);
    undoIndex_ = count() - 1;
    liveStateStored_ = false;
}

const QByteArray* UndoHistory::undo(const QByteArray& currentPage) {
    ++generation_;
    if (undoIndex_ < 0) return nullptr;
    if (!liveStateStored_) {
        append(currentPage);
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
}

void UndoHistory::clear() {
    ++generation_;
    states_.clear();
    undoIndex_ = -1;
    liveStateStored_ = false;
}

}  // namespace pemo
