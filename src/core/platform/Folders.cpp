#include "Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

namespace pemo {

QString programFolder() {
    const QString home = qEnvironmentVariable("PEMO_HOME");
    if (!home.isEmpty()) return QDir::cleanPath(QDir(home).absolutePath());
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString userWorkingFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/pemo");
}

QString recoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/pemo/recovery");
}

QString tempFolder() {
    // The answer for the last program folder asked about; the folder rarely changes.
    static QString askedFor;
    static QString answer;
    const QString program = programFolder();
    if (program != askedFor || !QFileInfo(answer).isDir()) {
        const QString inProgram = program + QStringLiteral("/PEMO-TEMP");
        const bool usable = QDir().mkpath(inProgram) && QFileInfo(inProgram).isWritable();
        answer = usable ? inProgram : userWorkingFolder() + QStringLiteral("/PEMO-TEMP");
        if (!usable) QDir().mkpath(answer);
        askedFor = program;
    }
    return answer;
}

void ensureTempFolder() { QDir().mkpath(tempFolder()); }

QString newUniqueName() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toLower(); }

bool makeWritable(const QString& path) {
    QFile file(path);
    if (file.exists()) {
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    }
    return true;
}

bool deleteFileForced(const QString& path) {
    if (!QFileInfo::exists(path)) return false;
    makeWritable(path);
    return QFile::remove(path);
}

QString safeFileNamePart(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const bool forbidden = ch.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(ch);
        out.append(forbidden ? QChar('_') : ch);
    }
    while (out.contains(QStringLiteral(".."))) out.replace(QStringLiteral(".."), QStringLiteral("_."));
    if (out == QStringLiteral(".")) out = QStringLiteral("_");
    return out;
}

}  // namespace pemo
