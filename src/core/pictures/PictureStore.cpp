#include "PictureStore.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Folders.h"

namespace pemo {

QString pictureCopyPath(const QByteArray& key, const QByteArray& extension) {
    ensureTempFolder();
    // A key or extension from a damaged file can be of any length; the name stays short.
    constexpr int kMaxKeyPart = 64;
    constexpr int kMaxExtensionPart = 16;
    return QStringLiteral("%1/IMAGE%2-%3%4")
        .arg(tempFolder(), safeFileNamePart(Gbk::toUnicode(key)).left(kMaxKeyPart), newUniqueName(),
             safeFileNamePart(Gbk::toUnicode(extension)).left(kMaxExtensionPart));
}

PictureDescription PictureDescription::ofFile(const QString& path, Kind kind,
                                              const QByteArray& category, const QByteArray& name) {
    PictureDescription d;
    const QFileInfo info(path);
    d.kind = kind;
    d.category = category;
    d.name = name;
    d.extension = Gbk::fromUnicode(path.right(4));
    d.modificationTime = info.lastModified();
    d.fileSize = info.size();
    d.filePath = path;
    const QSize size = Picture::fromFile(path).size();
    if (!size.isEmpty()) {
        d.width = size.width();
        d.height = size.height();
    }
    return d;
}

QByteArray PictureStore::add(const PictureDescription& description) {
    for (const auto& e : entries_) {
        if (e->description().sameAs(description)) return e->key();
    }
    const QByteArray key = newUniqueName().toLatin1();
    PictureDescription copy = description;
    copy.filePath = pictureCopyPath(key, description.extension);
    copy.loaded = false;
    if (!QFile::copy(description.filePath, copy.filePath)) return QByteArray();
    makeWritable(copy.filePath);
    entries_.push_back(std::make_unique<StoredPicture>(key, std::move(copy)));
    return key;
}

StoredPicture& PictureStore::addBytes(const QByteArray& key, PictureDescription description,
                                      const QByteArray& bytes) {
    return addFilled(key, std::move(description),
                     [&](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

StoredPicture& PictureStore::addFilled(const QByteArray& key, PictureDescription description,
                                       const std::function<bool(QIODevice&)>& fill) {
    description.filePath = pictureCopyPath(key, description.extension);
    QFile file(description.filePath);
    const auto cannotWrite = [&] {
        file.remove();
        return IoError(QString::fromUtf8("无法写入临时文件 %1。").arg(description.filePath));
    };
    if (!file.open(QIODevice::WriteOnly)) throw cannotWrite();
    try {
        if (!fill(file) || !file.flush()) throw cannotWrite();
    } catch (const FormatError&) {
        file.remove();
        throw;
    }
    description.fileSize = file.size();
    file.close();
    entries_.push_back(std::make_unique<StoredPicture>(key, std::move(description)));
    return *entries_.back();
}

bool PictureStore::addEdited(const QByteArray& oldKey, const QByteArray& newKey,
                             const QString& file) {
    const StoredPicture* old = entry(oldKey);
    if (!old || contains(newKey)) return false;
    PictureDescription d = old->description();
    const QFileInfo info(file);
    d.filePath = file;
    d.modificationTime = info.lastModified();
    d.fileSize = info.size();
    d.loaded = false;
    const QSize size = Picture::fromFile(file).size();
    d.width = size.isEmpty() ? 0 : size.width();
    d.height = size.isEmpty() ? 0 : size.height();
    entries_.push_back(std::make_unique<StoredPicture>(newKey, std::move(d)));
    return true;
}

StoredPicture* PictureStore::entry(const QByteArray& key) const {
    for (const auto& e : entries_) {
        if (e->key() == key) return e.get();
    }
    return nullptr;
}

const Picture* PictureStore::find(const QByteArray& key) const {
    StoredPicture* e = entry(key);
    if (!e) return nullptr;
    const Picture& picture = e->picture();
    return picture.isNull() ? nullptr : &picture;
}

PictureDescription PictureStore::descriptionOf(const QByteArray& key) const {
    if (const StoredPicture* e = entry(key)) return e->description();
    return PictureDescription();
}

void PictureStore::clearMarks() {
    for (auto& e : entries_) e->used = 0;
    usedCount_ = 0;
}

void PictureStore::mark(const QByteArray& key) {
    if (StoredPicture* e = entry(key)) e->used = 1;
}

int32_t PictureStore::countMarked() {
    usedCount_ = 0;
    for (const auto& e : entries_) usedCount_ += e->used ? 1 : 0;
    return usedCount_;
}

void PictureStore::write(ArchiveWriter& out, bool onlyMarked) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer, onlyMarked);
    out.writeBytes(bytes);
}

bool PictureStore::write(QIODevice& out, bool onlyMarked) const {
    // What a picture's private copy is read in at a time.
    constexpr qint64 kSlice = 256 * 1024;
    const auto put = [&](const QByteArray& bytes) { return out.write(bytes) == bytes.size(); };
    int32_t n = 0;
    for (const auto& e : entries_) n += (!onlyMarked || e->used) ? 1 : 0;
    ArchiveWriter count;
    count.writeInt32(n);
    if (!put(count.data())) return false;
    for (const auto& e : entries_) {
        if (onlyMarked && !e->used) continue;
        const PictureDescription& d = e->description();
        // A copy that cannot be opened is stored without bytes, the entry kept.
        QFile file(d.filePath);
        const qint64 size = file.open(QIODevice::ReadOnly) ? file.size() : 0;
        ArchiveWriter head;
        head.writeText(e->key());
        head.writeInt32(d.kind);
        head.writeText(d.category);
        head.writeText(d.name);
        head.writeText(d.extension);
        head.writeInt32(d.width);
        head.writeInt32(d.height);
        head.writeInt32(static_cast<int32_t>(size));
        if (!put(head.data())) return false;
        for (qint64 done = 0; done < size;) {
            const QByteArray slice = file.read(std::min(kSlice, size - done));
            if (slice.isEmpty()) throw IoError(QString::fromUtf8("无法读取图片文件 %1。").arg(d.filePath));
            if (!put(slice)) return false;
            done += slice.size();
        }
    }
    return true;
}

void PictureStore::read(ArchiveReader& in) {
    // A stored picture takes at least 1 + 4 + 1 + 1 + 1 + 4 + 4 + 4 bytes.
    const int32_t n = in.readCount(20);
    for (int32_t i = 0; i < n; ++i) {
        const QByteArray key = in.readText();
        PictureDescription d;
        d.kind = in.readInt32();
        d.category = in.readText();
        d.name = in.readText();
        d.extension = in.readText();
        d.width = in.readInt32();
        d.height = in.readInt32();
        const int32_t byteCount = in.readInt32();
        if (byteCount < 0 || byteCount > in.remaining()) throw FormatError();
        addFilled(key, std::move(d), [&](QIODevice& file) { return in.copyBytes(byteCount, file); });
    }
}

}  // namespace pemo
