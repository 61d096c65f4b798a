#include "LibraryFolders.h"

#include <QCollator>
#include <QDir>

#include "core/platform/Folders.h"

namespace pemo {

namespace LibraryFolders {

namespace {

QCollator nameCollator() {
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

QFileInfoList filesOf(const QString& folder) {
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
}

}  // namespace

QString backgroundRoot() {
    return programFolder() + QString::fromUtf8("/底图模板");
}
QString pictureRoot() {
    return programFolder() + QString::fromUtf8("/图库");
}
QString textureRoot() {
    return programFolder() + QString::fromUtf8("/贴图");
}
QString blankCategory() {
    return QString::fromUtf8("空白底图");
}

QStringList categories(const QString& root) {
    QStringList names = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    sortNames(names);
    return names;
}

bool isAcceptedType(const QString& fileName) {
    static const QStringList types = {".bmp", ".jpg", ".gif", ".wmf",
                                      ".emf", ".tif", ".pcx", ".tga"};
    return fileName.size() > 4 && types.contains(fileName.right(4), Qt::CaseInsensitive);
}

QFileInfoList pictureFiles(const QString& folder) {
    QFileInfoList files;
    for (const QFileInfo& f : filesOf(folder)) {
        if (isAcceptedType(f.fileName()))
            files.append(f);
    }
    const QCollator collator = nameCollator();
    std::sort(files.begin(), files.end(), [&collator](const QFileInfo& a, const QFileInfo& b) {
        return collator.compare(a.fileName(), b.fileName()) < 0;
    });
    return files;
}

QString entryName(const QString& fileName) {
    return fileName.left(std::max(0, int(fileName.size()) - 4));
}

QStringList filesNamed(const QString& folder, const QString& name) {
    QStringList found;
    for (const QFileInfo& f : filesOf(folder)) {
        const QString file = f.fileName();
        const int dot = int(file.lastIndexOf(QLatin1Char('.')));
        if (dot >= 0 && file.left(dot) == name)
            found.append(f.absoluteFilePath());
    }
    return found;
}

QStringList filesStartingWith(const QString& folder, const QString& prefix, const QString& suffix) {
    QStringList found;
    for (const QFileInfo& f : filesOf(folder)) {
        const QString file = f.fileName();
        if (file.startsWith(prefix) && file.size() >= prefix.size() + suffix.size() &&
            file.endsWith(suffix, Qt::CaseInsensitive)) {
            found.append(f.absoluteFilePath());
        }
    }
    found.sort();
    return found;
}

void sortNames(QStringList& names) {
    const QCollator collator = nameCollator();
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
}

}  // namespace LibraryFolders

}  // namespace pemo
