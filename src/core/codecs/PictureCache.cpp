#include "PictureCache.h"

#include <QMutexLocker>
#include <atomic>

namespace pemo {

PictureCache& PictureCache::shared() {
    static PictureCache cache;
    return cache;
}

quint64 PictureCache::newPictureId() {
    static std::atomic<quint64> next{1};
    return next++;
}

QImage PictureCache::image(quint64 picture, QSize size, bool whiteKeyed, const std::function<QImage()>& decode) {
    {
        QMutexLocker lock(&mutex_);
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->picture == picture && it->size == size && it->whiteKeyed == whiteKeyed) {
                entries_.splice(entries_.begin(), entries_, it);
                return entries_.front().image;
            }
        }
    }
    // Decoding takes long; other pictures are served meanwhile.
    QImage decoded = decode();
    if (decoded.isNull()) return decoded;
    QMutexLocker lock(&mutex_);
    entries_.push_front({picture, size, whiteKeyed, decoded});
    bytes_ += decoded.sizeInBytes();
    trim();
    return decoded;
}

void PictureCache::forget(quint64 picture) {
    QMutexLocker lock(&mutex_);
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->picture == picture) {
            bytes_ -= it->image.sizeInBytes();
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
}

void PictureCache::trim() {
    // The newest entry stays even when it alone is over the budget: it is being drawn.
    while (bytes_ > budget_ && entries_.size() > 1) {
        bytes_ -= entries_.back().image.sizeInBytes();
        entries_.pop_back();
    }
}

qint64 PictureCache::bytes() const {
    QMutexLocker lock(&mutex_);
    return bytes_;
}

int PictureCache::count() const {
    QMutexLocker lock(&mutex_);
    return int(entries_.size());
}

void PictureCache::setBudget(qint64 bytes) {
    QMutexLocker lock(&mutex_);
    budget_ = bytes;
    trim();
}

}  // namespace pemo
