#include "SlicedBody.h"

#include <QElapsedTimer>
#include <algorithm>
#include <utility>

#include "CPatDoc.h"
#include "DocumentFile.h"

namespace pemo {

SlicedBody::SlicedBody(CPatDoc& doc) : doc_(doc) {
    DocumentFile::clearPictureMarks(doc_);
    records_.reserve(doc_.records.size());
}

bool SlicedBody::step(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    const PlaceholderSources sources = doc_.placeholderSources();
    while (next_ < doc_.records.size()) {
        InfoRecord& record = *doc_.records[next_];
        // Stored with its values, as a save stores it; the page on the screen gets the
        // placeholders' names back at once.
        record.refreshPlaceholders(false, sources);
        DocumentFile::markPicturesOf(doc_, record);
        records_.push_back(DocumentFile::recordForm(record));
        if (doc_.templateMode() && record.current) record.refreshPlaceholders(true, sources);
        ++next_;
        if (clock.elapsed() >= budgetMs) break;
    }
    longestStepMs_ = std::max(longestStepMs_, clock.elapsed());
    return next_ >= doc_.records.size();
}

std::vector<QByteArray> SlicedBody::takeParts() {
    std::vector<QByteArray> parts;
    parts.reserve(records_.size() + 1);
    parts.push_back(DocumentFile::bodyHead(doc_, static_cast<int32_t>(records_.size())));
    for (QByteArray& record : records_) parts.push_back(std::move(record));
    records_.clear();
    return parts;
}

QByteArray SlicedBody::join(const std::vector<QByteArray>& parts) {
    qsizetype size = 0;
    for (const QByteArray& part : parts) size += part.size();
    QByteArray body;
    body.reserve(size);
    for (const QByteArray& part : parts) body += part;
    return body;
}

}  // namespace pemo
