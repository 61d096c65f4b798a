#include "ImportTarget.h"

#include <algorithm>

#include "core/document/CPatDoc.h"

namespace pemo {

int ImportTarget::replacedCount(const CPatDoc& doc) {
    return int(std::count_if(doc.records.begin(), doc.records.end(),
                             [](const auto& record) { return !record->isEmpty(); }));
}

QString ImportTarget::replaceQuestion(int count) {
    return QString::fromUtf8("导入将替换现有的%1项信息").arg(count);
}

ImportTarget::Page ImportTarget::defaultPage(const CPatDoc& doc) {
    const bool designed = std::any_of(doc.records.begin(), doc.records.end(),
                                      [](const auto& record) { return !record->blocks.empty(); });
    return designed && doc.currentRecord() ? Page::CurrentRecord : Page::Library;
}

const InfoRecord* ImportTarget::pageRecord(const CPatDoc& doc, Page page) {
    return page == Page::CurrentRecord ? doc.currentRecord() : nullptr;
}

}  // namespace pemo
