#include "ThumbnailCache.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMetaObject>
#include <QPainter>
#include <QRunnable>

#include "core/codecs/Picture.h"
#include "core/library/LibraryItems.h"
#include "core/library/ThumbnailGeometry.h"

namespace pemo {

class ThumbnailCache::Job : public QRunnable {
public:
    Job(std::weak_ptr<ThumbnailCache*> owner, QString key, QString path, QSize box)
        : owner_(std::move(owner)), key_(std::move(key)), path_(std::move(path)), box_(box) {
        setAutoDelete(true);
    }
    void run() override {
        QSize natural;
        const QImage image = ThumbnailCache::decode(path_, box_, &natural);
        const auto owner = owner_.lock();
        if (!owner)
            return;
        ThumbnailCache* cache = *owner;
        QMetaObject::invokeMethod(
            cache,
            [cache, key = key_, path = path_, image, natural] { cache->finished(key, path, image, natural); },
            Qt::QueuedConnection);
    }

private:
    std::weak_ptr<ThumbnailCache*> owner_;
    QString key_;
    QString path_;
    QSize box_;
};

ThumbnailCache::ThumbnailCache(qint64 limitBytes, QObject* parent)
    : QObject(parent), self_(std::make_shared<ThumbnailCache*>(this)) {
    cache_.setMaxCost(limitBytes);
    pool_.setMaxThreadCount(std::max(1, std::min(4, QThread::idealThreadCount())));
}

ThumbnailCache::~ThumbnailCache() {
    for (Job* job : std::as_const(pending_)) {
        if (pool_.tryTake(job))
            delete job;
    }
    pending_.clear();
    self_.reset();
    pool_.waitForDone();
}

QString ThumbnailCache::keyOf(const QString& path, QSize box) {
    const QFileInfo info(path);
    return QStringLiteral("%1|%2|%3|%4x%5")
        .arg(path)
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(info.size())
        .arg(box.width())
        .arg(box.height());
}

QImage ThumbnailCache::thumbnail(const QString& path, QSize box) {
    if (box.isEmpty() || path.isEmpty())
        return {};
    const QString key = keyOf(path, box);
    if (painting_)
        requestedThisPaint_.insert(key);
    if (const Entry* entry = cache_.object(key))
        return entry->image;
    if (failed_.contains(key) || pending_.contains(key))
        return {};
    auto* job = new Job(self_, key, path, box);
    pending_.insert(key, job);
    pool_.start(job);
    return {};
}

bool ThumbnailCache::isPending(const QString& path, QSize box) const {
    return pending_.contains(keyOf(path, box));
}

void ThumbnailCache::beginPaint() {
    painting_ = true;
    requestedThisPaint_.clear();
}

void ThumbnailCache::endPaint() {
    painting_ = false;
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (!requestedThisPaint_.contains(it.key()) && pool_.tryTake(it.value())) {
            delete it.value();
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
}

void ThumbnailCache::clear() {
    cache_.clear();
    failed_.clear();
}

void ThumbnailCache::finished(const QString& key, const QString& path, const QImage& image,
                              QSize natural) {
    pending_.remove(key);
    if (natural.isValid())
        emit measured(path, natural);
    if (image.isNull()) {
        failed_.insert(key);
    } else {
        const qint64 cost = std::max<qint64>(1, image.sizeInBytes());
        cache_.insert(key, new Entry{image}, cost);
    }
    emit ready(path);
}

QImage ThumbnailCache::decode(const QString& path, QSize box, QSize* natural) {
    if (natural)
        *natural = QSize();
    if (!LibraryItems::sizeNeedsDecoding(path)) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        if (size.isValid() && !size.isEmpty()) {
            if (natural)
                *natural = size;
            const QRect fitted = fitRect(size, QRect(QPoint(0, 0), box));
            // A scaled read lets the JPEG decoder skip most of the work.
            if (fitted.size() != size)
                reader.setScaledSize(fitted.size());
            QImage image = reader.read();
            if (!image.isNull()) {
                if (image.size() != fitted.size()) {
                    image = image.scaled(fitted.size(), Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
                }
                return image.convertToFormat(image.hasAlphaChannel()
                                                 ? QImage::Format_ARGB32_Premultiplied
                                                 : QImage::Format_RGB32);
            }
        }
    }
    const Picture picture = Picture::fromFile(path);
    if (picture.isNull())
        return {};
    if (natural)
        *natural = picture.size();
    const QRect fitted = fitRect(picture.size(), QRect(QPoint(0, 0), box));
    if (fitted.isEmpty())
        return {};
    QImage image(fitted.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    picture.draw(painter, QRect(QPoint(0, 0), fitted.size()));
    painter.end();
    return image;
}

}  // namespace pemo
