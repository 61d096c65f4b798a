#pragma once

#include <QImage>
#include <QMutex>
#include <QSize>
#include <functional>
#include <list>

namespace pemo {

// The bitmaps pictures were last decoded into, for all pictures of the program together,
// kept only up to a budget of bytes: the least recently used go first. A picture is thus
// decoded again when it is drawn after many others, but a document of a thousand photos
// never holds a thousand bitmaps. Thread-safe.
class PictureCache {
public:
    static constexpr qint64 kBudgetBytes = qint64(64) << 20;

    static PictureCache& shared();

    // A picture's bitmap at a size (an empty size: its own), white keyed or not: the
    // cached one, or what decode gives, kept for later unless it is null. The same
    // request gets the very same image while it stays (a PDF then embeds it once).
    QImage image(quint64 picture, QSize size, bool whiteKeyed, const std::function<QImage()>& decode);
    // Forgets every bitmap of a picture that is gone.
    void forget(quint64 picture);
    // A number no other picture of this run has.
    static quint64 newPictureId();

    qint64 bytes() const;
    int count() const;
    void setBudget(qint64 bytes);

private:
    struct Entry {
        quint64 picture;
        QSize size;
        bool whiteKeyed;
        QImage image;
    };
    void trim();

    mutable QMutex mutex_;
    std::list<Entry> entries_;  // most recently used first
    qint64 bytes_ = 0;
    qint64 budget_ = kBudgetBytes;
};

}  // namespace pemo
