#pragma once

#include <QByteArray>
#include <vector>

namespace pemo {

class CPatDoc;

// The document's body (what DocumentFile::writeBody gives) taken a few records at a time,
// so that the thread the document lives on is never held for long: step() works through
// the records for about a time budget and returns; the body is complete once step()
// returns true. The document must not change between the first step and take(); whoever
// drives this starts again when it does.
class SlicedBody {
public:
    explicit SlicedBody(CPatDoc& doc);

    // Takes the forms of further records for about budgetMs; true when every record is done.
    bool step(int budgetMs);
    // The body's parts, once step() returned true: the head (whose pictures are marked by
    // then), then every record's form. Joined they are the body; joining 10,000 records
    // takes long enough to be left to another thread.
    std::vector<QByteArray> takeParts();
    static QByteArray join(const std::vector<QByteArray>& parts);
    QByteArray take() { return join(takeParts()); }
    // The longest step so far, in milliseconds.
    qint64 longestStepMs() const { return longestStepMs_; }

private:
    CPatDoc& doc_;
    size_t next_ = 0;
    std::vector<QByteArray> records_;
    qint64 longestStepMs_ = 0;
};

}  // namespace pemo
