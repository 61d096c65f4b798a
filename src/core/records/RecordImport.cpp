#include "RecordImport.h"

#include <algorithm>

#include "TableSheet.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordPrototype.h"

namespace pemo {

namespace {

constexpr int kProgressStep = 250;

}  // namespace

QByteArray RecordImport::cutText(const QByteArray& gbk, int maxBytes) {
    qsizetype end = 0;
    while (end < gbk.size()) {
        const qsizetype step = Gbk::isLeadByte(gbk.at(end)) ? 2 : 1;
        if (end + step > maxBytes) break;
        end += step;
    }
    return gbk.left(std::min(end, gbk.size()));
}

void RecordImport::joinQueueWhenFilled(InfoRecord& record, bool wasEmpty) {
    if (wasEmpty && record.copies == 0 && !record.isEmpty()) record.copies = 1;
}

QString RecordImport::nothingToImportMessage() {
    return QString::fromUtf8("文件中没有可导入的信息。");
}

QString RecordImport::tooManyRowsMessage(int rows) {
    return QString::fromUtf8("文件有%1行，一次最多导入%2行。").arg(rows).arg(kMaxRows);
}

QString RecordImport::valueTooLongMessage(int row, int column) {
    return QString::fromUtf8("第%1行第%2列的内容超过 64 KB，太长，不能放在标牌上。").arg(row).arg(column);
}

bool RecordImport::build(const TableSheet& sheet, int firstRow, bool templateMode,
                         const Progress& progress) {
    built_.clear();
    trailing_.reset();
    message_.clear();
    const PlaceholderSources sources = doc_.placeholderSources();
    if (!sheet.isRead()) {
        message_ = sheet.message();
        return false;
    }
    const int total = sheet.totalRows();
    const int columnCount = sheet.totalColumns();
    const int rows = total - std::max(firstRow, 1) + 1;
    if (rows > kMaxRows) {
        message_ = tooManyRowsMessage(rows);
        return false;
    }
    // Every record starts as a copy of one page, so a template is read once.
    const RecordPrototype prototype = page_ ? RecordPrototype(*page_) : RecordPrototype(doc_);
    trailing_ = prototype.make();
    trailing_->copies = 0;
    trailing_->refreshPlaceholders(templateMode, sources);
    for (int row = std::max(firstRow, 1); row <= total; ++row) {
        if (progress && (row - firstRow) % kProgressStep == 0 && !progress(row - firstRow, total)) {
            built_.clear();
            return false;
        }
        std::array<QByteArray, InfoRecord::kValueCount> values;
        for (int target = 0; target < ImportSettings::kTargetCount; ++target) {
            const int column = columns_[size_t(target)];
            if (column >= 1 && column <= columnCount) values[size_t(target)] = sheet.cell(column, row);
            if (values[size_t(target)].size() > kMaxValueBytes) {
                built_.clear();
                message_ = valueTooLongMessage(row, column);
                return false;
            }
        }
        if (std::all_of(values.begin(), values.end(), [](const QByteArray& v) { return v.isEmpty(); })) {
            continue;
        }
        std::unique_ptr<InfoRecord> record = prototype.make();
        record->values = values;
        record->refreshPlaceholders(templateMode, sources);
        built_.push_back(std::move(record));
    }
    if (progress && !progress(total, total)) {
        built_.clear();
        return false;
    }
    if (built_.empty()) {
        message_ = nothingToImportMessage();
        return false;
    }
    return true;
}

void RecordImport::apply(bool trailingEmptyRecord, ImportTarget::Records mode) {
    if (built_.empty()) return;
    if (trailingEmptyRecord && trailing_) built_.push_back(std::move(trailing_));
    for (auto& record : built_) record->current = false;
    built_.front()->current = true;
    if (mode == ImportTarget::Records::Append) {
        auto& records = doc_.records;
        while (!records.empty() && records.back()->isEmpty()) records.pop_back();
        for (auto& record : records) record->current = false;
        for (auto& record : built_) records.push_back(std::move(record));
    } else {
        doc_.records = std::move(built_);
    }
    built_.clear();
    doc_.notify(CPatDoc::Change::Records);
    doc_.setModified(true);
}

}  // namespace pemo
