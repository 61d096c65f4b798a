#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "BackgroundRef.h"
#include "UndoHistory.h"

namespace pemo {

class CPatDoc;
class InfoRecord;

// The document's history of changes to its record list (deleting, inserting, importing,
// the queue, a design or template put on many records, the price update), beside each
// record's own page history; UndoOrder runs both as one sequence. One step keeps the
// whole list as it was before the change: every record's page, values, picture, copies,
// background and own history. Taking the step back (or putting it back) gives the list
// that order and those records, but of a record the step kept it gives back only what
// the step changed: a copies count or a background set since, which no history keeps,
// stays. Only the last kCapacity steps are kept.
//
// A command wraps its change in one step:
//
//     doc.listHistory().record("导入", [&] { import.apply(true); });
//
// A change returning bool is kept only when it returns true (the user said No, say):
//
//     doc.listHistory().record("统一模板", [&] { return unifyTemplate(); });
//
// or, across calls, begin(name) … commit() / cancel().
class ListHistory {
public:
    static constexpr int kCapacity = 10;

    explicit ListHistory(CPatDoc& doc) : doc_(doc) {}
    ListHistory(const ListHistory&) = delete;
    ListHistory& operator=(const ListHistory&) = delete;

    template <class Change>
    auto record(const QString& name, Change&& change) {
        begin(name);
        return finish(std::forward<Change>(change));
    }
    // A step over a few records (a paste into some rows, a record typed at the end):
    // only these and the records the change makes are kept, which costs little on a long
    // list. The change must leave every other record in the list as it is.
    template <class Change>
    auto record(const QString& name, const std::vector<const InfoRecord*>& touched, Change&& change) {
        begin(name, &touched);
        return finish(std::forward<Change>(change));
    }

    // Keeps the list as it is now for the step begun (of the touched records only, when
    // given). Steps nest: a begin inside a step begun belongs to it, and only the
    // outermost commit or cancel counts.
    void begin(const QString& name, const std::vector<const InfoRecord*>* touched = nullptr);
    // The step begun becomes the newest one; Redo is forgotten.
    void commit();
    // Forgets the step begun; the list is not touched.
    void cancel();

    bool canUndo() const { return !undo_.empty(); }
    // A step taken back can be put back until some other change is made.
    bool canRedo() const;
    QString undoName() const;
    QString redoName() const;
    // The stamps (UndoHistory::newStamp) of the steps Undo and Redo would take; 0 none.
    uint64_t undoStamp() const;
    uint64_t redoStamp() const;

    // Gives the list its state before the newest step (or after the step last taken
    // back); the list as it was is kept for the way back. False when there is none.
    bool undo();
    bool redo();
    void clear();

    int count() const { return static_cast<int>(undo_.size()); }
    // The stamp of the newest step forgotten (for room, or by clear); 0 when none.
    uint64_t forgottenStamp() const { return forgottenStamp_; }

private:
    template <class Change>
    auto finish(Change&& change) {
        try {
            if constexpr (std::is_void_v<std::invoke_result_t<Change>>) {
                std::forward<Change>(change)();
                commit();
            } else {
                const bool changed = std::forward<Change>(change)();
                changed ? commit() : cancel();
                return changed;
            }
        } catch (...) {
            cancel();
            throw;
        }
    }

    struct RecordState {
        uint64_t serial = 0;
        bool kept = true;  // false: only the record's place, outside a step's few records
        QByteArray page;   // the snapshot form: size, values, picture, blocks
        BackgroundRef background;
        int32_t copies = 1;
        std::optional<UndoHistory> history;  // kept records only
    };
    struct ListState {
        std::vector<RecordState> records;
        int current = -1;
        bool designAppliedToAll = false;
    };
    // What a step changed of a record it kept, by serial: records missing are unchanged.
    enum Part : uint8_t { Page = 1, Background = 2, Copies = 4 };
    using Changes = std::unordered_map<uint64_t, uint8_t>;
    struct Step {
        QString name;
        uint64_t stamp = 0;
        ListState state;  // the list to give back
        Changes changes;
    };

    // The list, keeping the records whose serial keep() accepts and the places of the
    // others.
    ListState capture(const std::function<bool(uint64_t serial)>& keep) const;
    // What to keep of the list now so that restoring state can be taken back: the
    // records state keeps, and those it does not hold.
    std::function<bool(uint64_t)> keptAround(const ListState& state) const;
    // What the change since before did to each record it kept; its pages are compared
    // only when the step is taken back, where the list is captured anyway.
    Changes changesSince(const ListState& before) const;
    static void notePagesChanged(Changes& changes, const ListState& from, const ListState& to);
    void restore(const ListState& state, const Changes& changes);

    CPatDoc& doc_;
    std::deque<Step> undo_;
    std::vector<Step> redo_;
    int depth_ = 0;  // steps begun and not yet committed or cancelled
    Step pending_;
    // The last stamp drawn when a step was taken back; any change since ends Redo.
    uint64_t stampAtUndo_ = 0;
    uint64_t forgottenStamp_ = 0;
};

}  // namespace pemo
