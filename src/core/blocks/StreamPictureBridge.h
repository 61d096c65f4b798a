#pragma once

#include "core/pictures/PictureStore.h"
#include "core/text/RichText.h"

namespace pemo {

// Moves pictures between the document's images store and the own store of a template
// or clipboard stream, for contents whose characters are filled with a picture.
class StreamPictureBridge : public StreamPictures {
public:
    StreamPictureBridge(const PictureStore* local, PictureStore* localForExport,
                        const PictureStore* images, PictureStore* imagesForImport)
        : local_(local),
          localForExport_(localForExport),
          images_(images),
          imagesForImport_(imagesForImport) {}

    QByteArray exportPicture(const QByteArray& documentKey) override {
        if (!localForExport_ || !images_ || !images_->contains(documentKey)) return QByteArray();
        return localForExport_->add(images_->descriptionOf(documentKey));
    }

    QByteArray importPicture(const QByteArray& localKey) override {
        if (!local_ || !imagesForImport_ || !local_->contains(localKey)) return QByteArray();
        return imagesForImport_->add(local_->descriptionOf(localKey));
    }

private:
    const PictureStore* local_;
    PictureStore* localForExport_;
    const PictureStore* images_;
    PictureStore* imagesForImport_;
};

}  // namespace pemo
