#include "Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>
#include <map>
#include <memory>

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

namespace {

// The folder each run keeps its copies in, inside the shared PEMO-TEMP, and the lock it
// holds for as long as it lives ("<id>.lock" beside "<id>"). Made on first use for each
// PEMO-TEMP the run works in; on a normal end the empty folder goes, then the lock.
class RunFolders {
public:
    ~RunFolders() {
        for (auto& [shared, run] : runs_) {
            QDir(shared).rmdir(run.id);
            // A folder removed under the run (a test's) takes the lock file with it.
            if (!QFileInfo::exists(shared + QLatin1Char('/') + run.id + QStringLiteral(".lock"))) {
                (void)run.lock.release();
            }
        }
    }

    QString folderIn(const QString& shared) {
        const QMutexLocker locker(&mutex_);
        auto it = runs_.find(shared);
        if (it == runs_.end()) {
            Run run;
            run.id = newUniqueName();
            run.lock = std::make_unique<QLockFile>(shared + QLatin1Char('/') + run.id + QStringLiteral(".lock"));
            run.lock->setStaleLockTime(0);
            // Without a lock the copies still work; a later start may then remove them
            // only once this run has ended, as it cannot take a lock this process holds.
            run.lock->tryLock(0);
            it = runs_.emplace(shared, std::move(run)).first;
        }
        const QString folder = shared + QLatin1Char('/') + it->second.id;
        QDir().mkpath(folder);
        return folder;
    }

    QString idIn(const QString& shared) {
        const QMutexLocker locker(&mutex_);
        const auto it = runs_.find(shared);
        return it == runs_.end() ? QString() : it->second.id;
    }

private:
    struct Run {
        QString id;
        std::unique_ptr<QLockFile> lock;
    };
    QMutex mutex_;
    std::map<QString, Run> runs_;
};

RunFolders& runFolders() {
    static RunFolders folders;
    return folders;
}

QString sharedTempFolder() {
    // The answer for the last program folder asked about; the folder rarely changes.
    static QMutex mutex;
    static QString askedFor;
    static QString answer;
    const QMutexLocker locker(&mutex);
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

bool isRunId(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$"));
    return pattern.match(name).hasMatch();
}

}  // namespace

QString tempFolder() { return runFolders().folderIn(sharedTempFolder()); }

int removeLeftoverTempCopies() {
    const QString shared = sharedTempFolder();
    const QString own = runFolders().idIn(shared);
    QDir dir(shared);
    int removed = 0;
    QStringList ids;
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (isRunId(name)) ids << name;
    }
    for (const QString& name : dir.entryList({QStringLiteral("*.lock")}, QDir::Files | QDir::Hidden)) {
        const QString id = name.chopped(5);
        if (isRunId(id) && !ids.contains(id)) ids << id;
    }
    for (const QString& id : ids) {
        if (id == own) continue;
        // A lock only a live process holds: its process has died, or it never was.
        QLockFile lock(shared + QLatin1Char('/') + id + QStringLiteral(".lock"));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) continue;  // a running copy of the program
        if (QDir(shared + QLatin1Char('/') + id).exists()) {
            QDir(shared + QLatin1Char('/') + id).removeRecursively();
            ++removed;
        }
        lock.unlock();
    }
    return removed;
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
