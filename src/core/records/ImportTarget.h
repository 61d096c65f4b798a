#pragma once

#include <QString>

namespace pemo {

class CPatDoc;
class InfoRecord;

// Where the records of an import go: in place of the document's records or after them,
// and on which page they start — the template or background selected in the library, or
// the current record's page, so a design made on the page is not lost by accident.
class ImportTarget {
public:
    enum class Records { Replace, Append };
    enum class Page { Library, CurrentRecord };

    // The records an import would replace: those holding a value or a picture.
    static int replacedCount(const CPatDoc& doc);
    // "导入将替换现有的N项信息"
    static QString replaceQuestion(int count);
    // The current record's page when some record has blocks of its own (a design), the
    // library's selection otherwise.
    static Page defaultPage(const CPatDoc& doc);
    // The record whose page new records copy, or none for the library's selection.
    static const InfoRecord* pageRecord(const CPatDoc& doc, Page page);
};

}  // namespace pemo
