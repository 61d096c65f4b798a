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
    const bool clearing = std::all_of(cells_.rows.begin(), cells_.rows.end(), [](const auto& row) {
        return std::all_of(row.begin(), row.end(), [](const QByteArray& c) { return c.isEmpty(); });
    });
    std::vector<const InfoRecord*> touched;
    for (int r = 0; r < rows(); ++r) {
        if (const InfoRecord* record = doc.recordAt(row_ + r)) touched.push_back(record);
    }
    doc.listHistory().record(QString::fromUtf8(clearing ? "清除" : "粘贴"), touched,
                             [&] { store(doc, templateMode); });
}

void GridPaste::store(CPatDoc& doc, bool templateMode) {
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
        }
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
        if (!changed.empty() && !made) record->takeUndoSnapshot();
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
    }
}

}  // namespace pemo
