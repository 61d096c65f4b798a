#pragma once

#include <QByteArray>
#include <array>

namespace pemo {

class CPatDoc;

// The search of the find dialog: the first ticked variable value, from a record on to
// the end of the list, that holds the text (GBK bytes, case-sensitive, never starting
// inside a double-byte character).
class RecordSearch {
public:
    static constexpr int kVariableCount = 10;
    using Ticks = std::array<bool, kVariableCount>;

    struct Match {
        int record = -1;
        int variable = -1;  // 0 … 9
        bool found() const { return record >= 0; }
    };

    static Match find(const CPatDoc& doc, const QByteArray& text, const Ticks& ticked, int from);

    // Where 查找下一个 starts: after the current record, or at 0 from the last one.
    static int nextStart(int currentIndex, int count);
};

}  // namespace pemo
