#include "StoredPicture.h"

#include <QFile>

#include "core/platform/Folders.h"

namespace pemo {

StoredPicture::StoredPicture(QByteArray key, PictureDescription description)
    : key_(std::move(key)), description_(std::move(description)) {}

StoredPicture::~StoredPicture() {
    if (!description_.filePath.isEmpty()) deleteFileForced(description_.filePath);
    description_.filePath.clear();
}

const Picture& StoredPicture::picture() {
    if (!picture_) {
        picture_ = std::make_unique<Picture>(
            Picture::fromFile(description_.filePath, QString::fromLatin1(description_.extension)));
        description_.loaded = true;
    }
    return *picture_;
}

QByteArray StoredPicture::fileBytes() const {
    QFile file(description_.filePath);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

}  // namespace pemo
