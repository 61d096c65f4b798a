#include "DicFile.h"

#include <QFile>

#include "core/platform/FileError.h"
#include "core/platform/Folders.h"
#include "core/platform/SafeFile.h"

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
    try {
        SafeFile::write(target, bytes, true);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

}  // namespace pemo::DicFile
