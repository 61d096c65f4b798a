#pragma once

#include <QByteArray>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;

#include "StoredPicture.h"

namespace pemo {

class ArchiveReader;
class ArchiveWriter;

// Pictures embedded in a document (or carried by a template or clipboard stream),
// keyed by unique names, in insertion order.
class PictureStore {
public:
    PictureStore() = default;
    PictureStore(const PictureStore&) = delete;
    PictureStore& operator=(const PictureStore&) = delete;
    PictureStore(PictureStore&&) = default;
    PictureStore& operator=(PictureStore&&) = default;

    // Adds the picture a description names. An entry with the same description is
    // reused (its key returned, nothing copied); otherwise the file is copied to a new
    // private copy in the temp folder under a new key. Empty when the file cannot be
    // copied.
    QByteArray add(const PictureDescription& description);
    // Adds a picture from its file bytes under a given key (reading a stream). The
    // bytes go to a new private copy at once; throws FormatError when the copy cannot
    // be written, so a picture is never kept without its bytes.
    StoredPicture& addBytes(const QByteArray& key, PictureDescription description,
                            const QByteArray& bytes);

    // Adds an edited version of an entry's picture, already written to file (a path from
    // pictureCopyPath), under a new key: the old entry stays for what still shows it and
    // for undo. The description is the old one with the file's size, time and pixel size.
    // False when no entry has the old key or one has the new key.
    bool addEdited(const QByteArray& oldKey, const QByteArray& newKey, const QString& file);

    StoredPicture* entry(const QByteArray& key) const;
    // The decoded picture of an entry; null when there is no such entry or it cannot
    // be decoded.
    const Picture* find(const QByteArray& key) const;
    bool contains(const QByteArray& key) const { return entry(key) != nullptr; }
    // The entry's description, or an empty one when no entry has the key.
    PictureDescription descriptionOf(const QByteArray& key) const;

    // Mark pass: clear every used mark, mark keys, then count the marks.
    void clearMarks();
    void mark(const QByteArray& key);
    int32_t countMarked();
    int32_t usedCount() const { return usedCount_; }

    void clear() {
        entries_.clear();
        usedCount_ = 0;
    }
    int size() const { return static_cast<int>(entries_.size()); }
    const std::vector<std::unique_ptr<StoredPicture>>& entries() const { return entries_; }

    // The stream form: int32 n, then per picture its key, kind, category, name,
    // extension, width, height, byte count and the file bytes. With onlyMarked, only
    // marked entries are written and n is the marked count.
    void write(ArchiveWriter& out, bool onlyMarked) const;
    // The same onto a device, each picture's bytes passed on from its private copy a
    // slice at a time. False when out refuses bytes; throws IoError when a private copy
    // cannot be read whole.
    bool write(QIODevice& out, bool onlyMarked) const;
    // Each picture's bytes go from the stream to its private copy a slice at a time.
    void read(ArchiveReader& in);

private:
    // Adds an entry whose private copy fill writes (false when it could not); throws
    // IoError when the copy cannot be written.
    StoredPicture& addFilled(const QByteArray& key, PictureDescription description,
                             const std::function<bool(QIODevice&)>& fill);

    std::vector<std::unique_ptr<StoredPicture>> entries_;
    int32_t usedCount_ = 0;
};

// The private copy's path in the temp folder: "IMAGE<key>-<unique><extension>", with
// the key and extension made safe to use in a file name.
QString pictureCopyPath(const QByteArray& key, const QByteArray& extension);

}  // namespace pemo
