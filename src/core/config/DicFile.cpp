#include "DicFile.h"

#include <QFile>
#include <QSaveFile>

#include "core/platform/Folders.h"

namespace pemo::DicFile {

QString path(const QString& fileName) { return programFolder() + QLatin1Char('/') + fileName; }

std::optional<QByteArray> read(const QString& fileName) {
    QFile file(path(fileName));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

bool write(const QString& fileName, const QByteArray& bytes) {
    const QString target = path(fileName);
    makeWritable(target);
    QSaveFile file(target);
    // A read-only file is replaced too; the rename needs only the folder to be writable.
    file.setDirectWriteFallback(false);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace pemo::DicFile
