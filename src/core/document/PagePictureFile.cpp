#include "PagePictureFile.h"

#include <QFileInfo>

#include "core/codecs/BmpWriter.h"
#include "core/platform/SafeFile.h"

namespace pemo {

bool PagePictureFile::isPngName(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
}

bool PagePictureFile::write(const QImage& image, const QString& path) {
    if (image.isNull()) return false;
    if (!isPngName(path)) return BmpWriter::write(image, path);
    SafeFile file(path);
    if (!file.open()) return false;
    // An encoder failure leaves the temporary file behind unrenamed; SafeFile drops it.
    return image.save(&file.device(), "PNG") && file.commit();
}

}  // namespace pemo
