#pragma once

namespace pemo {

class CPatDoc;

// Which history 撤消 and 恢复 take: the shown record's own page history or the list's.
// 撤消 takes back the newer of the two changes, 恢复 puts back the older of the two
// changes taken back, so both run through one order of changes.
class UndoOrder {
public:
    enum class Side { None, Record, List };

    static Side undoSide(const CPatDoc& doc);
    static Side redoSide(const CPatDoc& doc);
};

}  // namespace pemo
