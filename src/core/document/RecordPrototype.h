#pragma once

#include <QByteArray>
#include <functional>
#include <memory>

#include "InfoRecord.h"

namespace pemo {

class CPatDoc;

// The page a new record of a document gets (the library's selected template or
// background), made once and copied, for commands that make many records at once: a
// template is then read and laid out once rather than once per record.
class RecordPrototype {
public:
    explicit RecordPrototype(const CPatDoc& doc);
    // The page of a record of the document instead: its size, background and blocks,
    // without its values and its product picture.
    explicit RecordPrototype(const InfoRecord& page);

    // A new record on that page, its values empty.
    std::unique_ptr<InfoRecord> make() const;

    // An initializer for CPatDoc::newRecordInitializer that gives a new record the page of
    // source as it is now (size, background and blocks), without its values or picture.
    static std::function<void(InfoRecord&)> pageOf(const InfoRecord& source);

private:
    std::unique_ptr<InfoRecord> prototype_;
    QByteArray page_;  // empty when the page holds no block
};

}  // namespace pemo
