#include "PagePictureFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include "core/codecs/BmpWriter.h"

namespace pemo {

bool PagePictureFile::isPngName(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
}

bool PagePictureFile::write(const QImage& image, const QString& path) {
    if (image.isNull()) return false;
    if (!isPngName(path)) return BmpWriter::write(image, path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace pemo
