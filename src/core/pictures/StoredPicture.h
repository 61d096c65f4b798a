#pragma once

#include <QByteArray>
#include <memory>

#include "PictureDescription.h"
#include "core/codecs/Picture.h"

namespace pemo {

// One picture embedded in a document. While the document is open the picture is a
// private copy in the temp folder; destroying the entry deletes that copy.
class StoredPicture {
public:
    StoredPicture(QByteArray key, PictureDescription description);
    ~StoredPicture();
    StoredPicture(const StoredPicture&) = delete;
    StoredPicture& operator=(const StoredPicture&) = delete;

    const QByteArray& key() const { return key_; }
    const PictureDescription& description() const { return description_; }
    PictureDescription& description() { return description_; }

    // The decoded picture, loaded from the temp copy on first use (a JPEG is only
    // measured, and decoded from the copy when drawn); null when the copy cannot be
    // decoded (the entry stays and is saved again as bytes).
    const Picture& picture();
    bool isDecoded() const { return picture_ != nullptr; }
    // Frees the decoded picture (a long print job does so page by page); the next
    // picture() decodes the temp copy again. Pointers from picture() become invalid.
    void releasePicture() { picture_.reset(); }
    // The complete picture file as kept in the temp copy; empty when unreadable.
    QByteArray fileBytes() const;

    int32_t used = 0;

private:
    QByteArray key_;
    PictureDescription description_;
    std::unique_ptr<Picture> picture_;
};

}  // namespace pemo
