#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <memory>

namespace pemo {

// Thumbnails of library pictures, decoded off the user-interface thread at the size
// they are drawn (JPEGs are decoded scaled down, never whole) and kept in a cache
// bounded in bytes; the least recently drawn go first. Requests no paint asked for
// any more are dropped before they start.
class ThumbnailCache : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kDefaultLimitBytes = qint64(64) * 1024 * 1024;

    explicit ThumbnailCache(qint64 limitBytes = kDefaultLimitBytes, QObject* parent = nullptr);
    ~ThumbnailCache() override;

    // The thumbnail of a file fitted into a box (the fit rule: never enlarged), or a
    // null image while it is being decoded; a request is queued then. A file that
    // does not decode gives a null image for good.
    QImage thumbnail(const QString& path, QSize box);
    // Whether a thumbnail is waiting to be decoded.
    bool isPending(const QString& path, QSize box) const;
    int pendingCount() const { return int(pending_.size()); }

    // A paint brackets its requests; queued requests it did not repeat are withdrawn.
    void beginPaint();
    void endPaint();

    qint64 bytes() const { return cache_.totalCost(); }
    qint64 limitBytes() const { return cache_.maxCost(); }
    void clear();

    // Decodes a thumbnail on the calling thread: the picture fitted into box. natural,
    // when given, receives the picture's own pixel size (invalid when it does not decode).
    static QImage decode(const QString& path, QSize box, QSize* natural = nullptr);

signals:
    // A thumbnail was decoded (or found not to decode).
    void ready(const QString& path);
    // Decoding a thumbnail told the picture's own size (before ready).
    void measured(const QString& path, QSize size);

private:
    struct Entry {
        QImage image;
    };
    class Job;
    static QString keyOf(const QString& path, QSize box);
    void finished(const QString& key, const QString& path, const QImage& image, QSize natural);

    QCache<QString, Entry> cache_;
    QSet<QString> failed_;
    QHash<QString, Job*> pending_;
    QSet<QString> requestedThisPaint_;
    bool painting_ = false;
    QThreadPool pool_;
    // Shared with running jobs, so a job finishing after the cache is gone goes nowhere.
    std::shared_ptr<ThumbnailCache*> self_;
};

}  // namespace pemo
