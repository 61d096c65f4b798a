#include "RecordSearch.h"

#include <algorithm>

#include "core/document/CPatDoc.h"
#include "core/text/CharClasses.h"

namespace pemo {

RecordSearch::Match RecordSearch::find(const CPatDoc& doc, const QByteArray& text,
                                       const Ticks& ticked, int from) {
    if (text.isEmpty())
        return {};
    for (int i = std::max(0, from); i < doc.recordCount(); ++i) {
        const InfoRecord* record = doc.recordAt(i);
        for (int k = 0; k < kVariableCount; ++k) {
            if (!ticked[static_cast<size_t>(k)])
                continue;
            if (CharClasses::indexOfOnBoundary(record->value(k), text) >= 0)
                return {i, k};
        }
    }
    return {};
}

int RecordSearch::nextStart(int currentIndex, int count) {
    return currentIndex >= count - 1 ? 0 : currentIndex + 1;
}

}  // namespace pemo
