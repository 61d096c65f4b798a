#include "ConfigPictures.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "core/codecs/BmpWriter.h"
#include "core/codecs/Picture.h"
#include "core/platform/Folders.h"

namespace pemo::ConfigPictures {

namespace {

QString baseName(Which which) {
    switch (which) {
        case Which::Logo1: return QStringLiteral("PemLogo1");
        case Which::Logo2: return QStringLiteral("PemLogo2");
        case Which::Product: return QStringLiteral("PemProd");
    }
    return QString();
}

QString fileOf(Which which, const char* extension) {
    return programFolder() + QLatin1Char('/') + baseName(which) + QLatin1String(extension);
}

}  // namespace

QString path(Which which) {
    for (const char* extension : {".wmf", ".bmp"}) {
        const QString file = fileOf(which, extension);
        if (QFileInfo::exists(file)) return file;
    }
    return QString();
}

bool replace(Which which, const QString& chosenFile) {
    const bool metafile = chosenFile.endsWith(QStringLiteral(".wmf"), Qt::CaseInsensitive);
    const QString target = fileOf(which, metafile ? ".wmf" : ".bmp");
    const QString pending = target + QStringLiteral(".new");
    QFile::remove(pending);
    if (metafile) {
        if (!QFile::copy(chosenFile, pending)) return false;
    } else {
        const Picture picture = Picture::fromFile(chosenFile);
        if (picture.isNull()) return false;
        const int width = (picture.size().width() + 3) / 4 * 4;
        QImage bitmap(width, picture.size().height(), QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        {
            QPainter painter(&bitmap);
            picture.draw(painter, QRect(QPoint(0, 0), picture.size()));
        }
        if (!BmpWriter::write(bitmap, pending)) return false;
    }
    deleteFileForced(fileOf(which, ".wmf"));
    deleteFileForced(fileOf(which, ".bmp"));
    return QFile::rename(pending, target);
}

}  // namespace pemo::ConfigPictures
