#include "ListHistory.h"

#include <QHash>
#include <algorithm>
#include <memory>
#include <unordered_set>

#include "CPatDoc.h"

namespace pemo {

void ListHistory::begin(const QString& name, const std::vector<const InfoRecord*>* touched) {
    if (depth_++ > 0) return;
    std::unordered_set<uint64_t> few;
    if (touched) {
        for (const InfoRecord* r : *touched) few.insert(r->serial);
    }
    pending_ = Step{name, 0, capture([&](uint64_t serial) { return !touched || few.count(serial) > 0; }), {}};
}

void ListHistory::commit() {
    if (depth_ == 0 || --depth_ > 0) return;
    pending_.changes = changesSince(pending_.state);
    pending_.stamp = UndoHistory::newStamp();
    undo_.push_back(std::move(pending_));
    pending_ = Step{};
    while (count() > kCapacity) {
        forgottenStamp_ = std::max(forgottenStamp_, undo_.front().stamp);
        undo_.pop_front();
    }
    redo_.clear();
}

void ListHistory::cancel() {
    if (depth_ == 0 || --depth_ > 0) return;
    pending_ = Step{};
}

bool ListHistory::canRedo() const {
    return !redo_.empty() && UndoHistory::lastStamp() == stampAtUndo_;
}

QString ListHistory::undoName() const { return canUndo() ? undo_.back().name : QString(); }

QString ListHistory::redoName() const { return canRedo() ? redo_.back().name : QString(); }

uint64_t ListHistory::undoStamp() const { return canUndo() ? undo_.back().stamp : 0; }

uint64_t ListHistory::redoStamp() const { return canRedo() ? redo_.back().stamp : 0; }

bool ListHistory::undo() {
    if (!canUndo()) return false;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    ListState now = capture(keptAround(step.state));
    notePagesChanged(step.changes, step.state, now);
    restore(step.state, step.changes);
    step.state = std::move(now);
    redo_.push_back(std::move(step));
    stampAtUndo_ = UndoHistory::lastStamp();
    return true;
}

bool ListHistory::redo() {
    if (!canRedo()) return false;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    ListState now = capture(keptAround(step.state));
    notePagesChanged(step.changes, step.state, now);
    restore(step.state, step.changes);
    step.state = std::move(now);
    undo_.push_back(std::move(step));
    return true;
}

void ListHistory::clear() {
    forgottenStamp_ = std::max(forgottenStamp_, UndoHistory::lastStamp());
    undo_.clear();
    redo_.clear();
    depth_ = 0;
    pending_ = Step{};
}

ListHistory::ListState ListHistory::capture(const std::function<bool(uint64_t)>& keep) const {
    // A page unchanged since the newest step shares that step's bytes: ten steps over
    // a long list then cost little more than the pages that really changed.
    QHash<uint64_t, QByteArray> earlier;
    if (!undo_.empty()) {
        for (const RecordState& r : undo_.back().state.records) {
            if (r.kept && keep(r.serial)) earlier.insert(r.serial, r.page);
        }
    }
    ListState state;
    state.current = doc_.currentIndex();
    state.designAppliedToAll = doc_.designAppliedToAll;
    state.records.reserve(doc_.records.size());
    for (const auto& r : doc_.records) {
        if (!keep(r->serial)) {
            RecordState place;
            place.serial = r->serial;
            place.kept = false;
            state.records.push_back(std::move(place));
            continue;
        }
        RecordState s{r->serial, true, r->snapshotPage(), r->background, r->copies, r->undoHistory};
        const auto found = earlier.constFind(r->serial);
        if (found != earlier.constEnd() && *found == s.page) s.page = *found;
        state.records.push_back(std::move(s));
    }
    return state;
}

std::function<bool(uint64_t)> ListHistory::keptAround(const ListState& state) const {
    auto held = std::make_shared<std::unordered_map<uint64_t, bool>>();
    for (const RecordState& s : state.records) held->emplace(s.serial, s.kept);
    return [held](uint64_t serial) {
        const auto it = held->find(serial);
        return it == held->end() || it->second;
    };
}

ListHistory::Changes ListHistory::changesSince(const ListState& before) const {
    std::unordered_map<uint64_t, const RecordState*> kept;
    for (const RecordState& s : before.records) {
        if (s.kept) kept.emplace(s.serial, &s);
    }
    Changes changes;
    for (const auto& r : doc_.records) {
        const auto it = kept.find(r->serial);
        if (it == kept.end()) continue;
        const RecordState& s = *it->second;
        // A snapshot taken inside the step belongs to it even when the page came back.
        // Pages changed without one are found when the step is taken back (notePagesChanged).
        const bool page = r->undoHistory.generation() != s.history->generation();
        const uint8_t parts = (page ? Page : 0) | (r->background != s.background ? Background : 0) |
                              (r->copies != s.copies ? Copies : 0);
        if (parts != 0) changes.emplace(r->serial, parts);
    }
    return changes;
}

void ListHistory::notePagesChanged(Changes& changes, const ListState& from, const ListState& to) {
    // Every change after the step has been taken back by now, so two pages of a record
    // differ by what the step did to it.
    std::unordered_map<uint64_t, const QByteArray*> pages;
    for (const RecordState& s : to.records) {
        if (s.kept) pages.emplace(s.serial, &s.page);
    }
    for (const RecordState& s : from.records) {
        const auto it = pages.find(s.serial);
        if (s.kept && it != pages.end() && *it->second != s.page) changes[s.serial] |= Page;
    }
}

void ListHistory::restore(const ListState& state, const Changes& changes) {
    // Records still in the list are given their state in place, so whatever points at
    // them stays good; records gone are made again under their old serial.
    std::unordered_map<uint64_t, std::unique_ptr<InfoRecord>> live;
    for (auto& r : doc_.records) {
        const uint64_t serial = r->serial;
        live.emplace(serial, std::move(r));
    }
    std::vector<std::unique_ptr<InfoRecord>> list;
    list.reserve(state.records.size());
    std::vector<InfoRecord*> pagesGiven;
    for (const RecordState& s : state.records) {
        std::unique_ptr<InfoRecord> r;
        uint8_t parts = Page | Background | Copies;
        const auto it = live.find(s.serial);
        if (it != live.end()) {
            r = std::move(it->second);
            live.erase(it);
            const auto changed = changes.find(s.serial);
            parts = changed == changes.end() ? 0 : changed->second;
        } else if (s.kept) {
            r = std::make_unique<InfoRecord>();
            r->serial = s.serial;
        } else {
            // Outside a step's few records: in the list whenever the step is taken back
            // or put back, the changes after it having been taken back first.
            continue;
        }
        if (parts & Page) {
            if (r->snapshotPage() != s.page) r->restorePage(s.page);
            r->undoHistory.restoreFrom(*s.history);
            pagesGiven.push_back(r.get());
        }
        r->clearSelection();
        r->inPlaceEditing = false;
        if (parts & Background) r->background = s.background;
        if (parts & Copies) r->copies = s.copies;
        r->current = false;
        list.push_back(std::move(r));
    }
    if (list.empty()) list.push_back(doc_.newRecord());
    const int current = std::clamp(state.current, 0, static_cast<int>(list.size()) - 1);
    list[static_cast<size_t>(current)]->current = true;
    doc_.records = std::move(list);
    doc_.designAppliedToAll = state.designAppliedToAll;
    // A page given back shows its values (the record shown gets the screen's mode when
    // told); the others have not changed.
    for (InfoRecord* r : pagesGiven) r->refreshPlaceholders(false, doc_.placeholderSources());
    doc_.setModified();
    doc_.notify(CPatDoc::Change::Records);
}

}  // namespace pemo
