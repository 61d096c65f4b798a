#pragma once

namespace pemo {

class CPatDoc;

// The empty record an import leaves at the end of the list, for typing the next product,
// stays out of the print queue until it gets a value. Copies are not stored in documents,
// so a document read back would queue it again and print a sign without a product.
class TypingRecord {
public:
    // The last record is taken for that record when it holds no value and no picture,
    // and the record before it holds a product on the same design.
    static bool isLast(const CPatDoc& doc);
    // Takes that record out of the queue after a document was read; true when it did.
    static bool parkAfterOpen(CPatDoc& doc);
};

}  // namespace pemo
