#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace pemo {

// What the document knows of a picture file: where it came from in the library and
// where its private copy is.
struct PictureDescription {
    enum Kind : int32_t { None = 0, Background = 1, LibraryPicture = 2 };

    int32_t kind = None;
    QByteArray category;   // library folder (GBK)
    QByteArray name;       // picture name (GBK)
    QByteArray extension;  // with its leading dot, e.g. ".bmp"
    int32_t width = 0;
    int32_t height = 0;
    QDateTime modificationTime;
    qint64 fileSize = 0;
    QString filePath;
    bool loaded = false;

    // Two descriptions name the same picture when these agree; the path does not count.
    bool sameAs(const PictureDescription& other) const {
        return kind == other.kind && category == other.category && name == other.name &&
               extension == other.extension && width == other.width && height == other.height &&
               modificationTime == other.modificationTime && fileSize == other.fileSize;
    }

    // A description of a picture file on disk: size from the file, pixel size from
    // its decoded picture (0 × 0 when it cannot be decoded).
    static PictureDescription ofFile(const QString& path, Kind kind, const QByteArray& category,
                                     const QByteArray& name);
};

}  // namespace pemo
