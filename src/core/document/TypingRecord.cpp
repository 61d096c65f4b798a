#include "TypingRecord.h"

#include "CPatDoc.h"
#include "PageDesign.h"

namespace pemo {

bool TypingRecord::isLast(const CPatDoc& doc) {
    const int count = doc.recordCount();
    if (count < 2) return false;
    const InfoRecord& last = *doc.recordAt(count - 1);
    const InfoRecord& before = *doc.recordAt(count - 2);
    if (!last.isEmpty() || before.isEmpty()) return false;
    const PlaceholderSources sources = doc.placeholderSources();
    return PageDesign::fingerprint(last, sources) == PageDesign::fingerprint(before, sources);
}

bool TypingRecord::parkAfterOpen(CPatDoc& doc) {
    if (!isLast(doc)) return false;
    doc.recordAt(doc.recordCount() - 1)->copies = 0;
    return true;
}

}  // namespace pemo
