#include "GridPaste.h"

#include <algorithm>
#include <optional>

#include "GridCells.h"
#include "GridCursor.h"
#include "GridGeometry.h"
#include "RecordImport.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordPrototype.h"

namespace pemo {

GridPaste::GridPaste(CellTable cells, int row, int column)
    : cells_(std::move(cells)), row_(row), column_(column) {}

int GridPaste::columns() const {
    return std::max(0, std::min(cells_.columns, GridCursor::kLastColumn + 1 - column_));
}

const QByteArray* GridPaste::cell(int blockRow, int gridColumn) const {
    const auto& cells = cells_.rows[size_t(blockRow)];
    const int k = gridColumn - column_;
    return k >= 0 && k < int(cells.size()) ? &cells[size_t(k)] : nullptr;
}

QString GridPaste::problem() const {
    const int k = GridGeometry::kCopiesColumn - column_;
    if (k < 0) return QString();
    for (int r = 0; r < rows(); ++r) {
        const QByteArray* text = cell(r, GridGeometry::kCopiesColumn);
        if (!text || text->isEmpty()) continue;
        const GridCells::Copies copies = GridCells::parseCopies(Gbk::toUnicode(*text));
        if (!copies.problem.isEmpty()) {
            return QString::fromUtf8("第%1行第%2列：%3").arg(r + 1).arg(k + 1).arg(copies.problem);
        }
    }
    return QString();
}

int GridPaste::overwrites(const CPatDoc& doc) const {
    int count = 0;
    for (int r = 0; r < rows(); ++r) {
        const InfoRecord* record = doc.recordAt(row_ + r);
        if (!record) break;
        for (int c = column_; c < column_ + columns(); ++c) {
            const int value = GridGeometry::valueIndexOfColumn(c);
            const QByteArray* text = cell(r, c);
            if (value < 0 || !text) continue;
            const QByteArray& old = record->values[size_t(value)];
            if (!old.isEmpty() && old != *text) ++count;
        }
    }
    return count;
}

void GridPaste::apply(CPatDoc& doc, bool templateMode) {
    touched_.reserve(size_t(rows()));
    touched_.clear();
    undone_.clear();
    countAfterUndo_ = -1;
    created_ = 0;
    oldCurrent_ = doc.currentRecord();
    const PlaceholderSources sources = doc.placeholderSources();
    // Records made here all start on one new record's page, read once.
    std::optional<RecordPrototype> prototype;
    for (int r = 0; r < rows(); ++r) {
        InfoRecord* record = doc.recordAt(row_ + r);
        const bool made = record == nullptr;
        if (made) {
            if (!prototype) prototype.emplace(doc);
            doc.records.push_back(prototype->make());
            record = doc.records.back().get();
            ++created_;
        }
        Touched touched;
        touched.record = record;
        touched.oldCopies = record->copies;
        std::vector<std::pair<int, const QByteArray*>> changed;  // value, new text
        bool copiesPasted = false;
        for (int c = column_; c < column_ + columns(); ++c) {
            const QByteArray* text = cell(r, c);
            if (!text) continue;
            const int value = GridGeometry::valueIndexOfColumn(c);
            if (value >= 0 && record->values[size_t(value)] != *text) {
                changed.emplace_back(value, text);
            } else if (c == GridGeometry::kCopiesColumn && !text->isEmpty()) {
                record->copies = GridCells::parseCopies(Gbk::toUnicode(*text)).copies;
                copiesPasted = true;
            }
        }
        // A pasted copies cell is the user's own choice of the queue.
        const bool wasEmpty = record->isEmpty() && !copiesPasted;
        if (!changed.empty() && !made) {
            record->takeUndoSnapshot();
            touched.snapshot = true;
        }
        for (const auto& [value, text] : changed) {
            record->setValue(value, *text);
            if (!made) {
                // Only the current record may show the placeholders' names.
                record->refreshPlaceholder(int32_t(GridGeometry::fieldIdOfValue(value)),
                                           templateMode && record->current, sources);
            }
        }
        RecordImport::joinQueueWhenFilled(*record, wasEmpty);
        if (made) record->refreshPlaceholders(false, sources);
        touched.generation = record->undoHistory.generation();
        if (made || touched.snapshot || touched.oldCopies != record->copies) {
            touched_.push_back(touched);
        }
    }
}

bool GridPaste::canUndo(const CPatDoc& doc) const {
    if (touched_.empty()) return false;
    return std::all_of(touched_.begin(), touched_.end(), [&](const Touched& t) {
        return doc.indexOf(t.record) >= 0 && t.record->undoHistory.generation() == t.generation;
    });
}

bool GridPaste::touches(const InfoRecord* record) const {
    return std::any_of(touched_.begin(), touched_.end(),
                       [record](const Touched& t) { return t.record == record; });
}

void GridPaste::undo(CPatDoc& doc) {
    if (!canUndo(doc)) return;
    const size_t kept = touched_.size() - size_t(created_);
    for (size_t i = 0; i < kept; ++i) {
        Touched& t = touched_[i];
        if (t.snapshot) {
            // Its share of the paste comes back only with the whole paste.
            t.record->undo();
            t.record->undoHistory.dropRedo();
        }
        t.record->copies = t.oldCopies;
    }
    bool currentRemoved = false;
    for (size_t i = kept; i < touched_.size(); ++i) {
        const int index = doc.indexOf(touched_[i].record);
        currentRemoved = currentRemoved || touched_[i].record->current;
        doc.records.erase(doc.records.begin() + index);
    }
    if (currentRemoved || !doc.currentRecord()) {
        const int old = doc.indexOf(oldCurrent_);
        doc.setCurrentIndex(old >= 0 ? old : doc.recordCount() - 1);
    }
    touched_.resize(kept);
    if (InfoRecord* current = doc.currentRecord(); current && !touches(current)) {
        touched_.push_back(Touched{current, current->copies, false, 0});
    }
    for (Touched& t : touched_) t.generation = t.record->undoHistory.generation();
    undone_ = std::move(touched_);
    touched_.clear();
    countAfterUndo_ = doc.recordCount();
    created_ = 0;
}

bool GridPaste::canRedo(const CPatDoc& doc) const {
    if (countAfterUndo_ < 0 || doc.recordCount() != countAfterUndo_) return false;
    return std::all_of(undone_.begin(), undone_.end(), [&](const Touched& t) {
        return doc.indexOf(t.record) >= 0 && t.record->undoHistory.generation() == t.generation;
    });
}

bool GridPaste::touchedBeforeUndo(const InfoRecord* record) const {
    return std::any_of(undone_.begin(), undone_.end(),
                       [record](const Touched& t) { return t.record == record; });
}

}  // namespace pemo
