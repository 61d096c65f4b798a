#include "RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "core/platform/FileError.h"
#include "core/platform/Folders.h"
#include "core/platform/SafeFile.h"

namespace pemo {

namespace {

const QString kCopySuffix = QStringLiteral(".vxq");
const QString kDamagedSuffix = QStringLiteral(".damaged.vxq");

// A lock only a live process holds: a lock file whose process has died counts as stale
// at once, and one whose process lives never does, however old it is.
std::unique_ptr<QLockFile> tryLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}

}  // namespace

QString RecoveryCopy::title() const {
    return documentPath.isEmpty() ? QString::fromUtf8("无标题") : QFileInfo(documentPath).fileName();
}

RecoveryStore::RecoveryStore(const QString& folder) : folder_(folder) {}

RecoveryStore::~RecoveryStore() {
    for (auto& [id, lock] : claimed_) lock->unlock();
    if (lock_) {
        removeCopy(copyPath());
        lock_->unlock();
    }
}

QString RecoveryStore::pathOf(const QString& id, const char* suffix) const {
    return folder_ + QLatin1Char('/') + id + QLatin1String(suffix);
}

QString RecoveryStore::descriptionPath(const QString& copyPath) {
    return copyPath.chopped(kCopySuffix.size()) + QStringLiteral(".json");
}

bool RecoveryStore::begin() {
    if (lock_) return true;
    if (!QDir().mkpath(folder_)) return false;
    id_ = newUniqueName();
    lock_ = tryLock(pathOf(id_, ".lock"));
    return lock_ != nullptr;
}

void RecoveryStore::writeCopy(const QString& copyPath, const QByteArray& fileBytes,
                              const QString& documentPath, const QDateTime& savedAt) {
    writeCopy(copyPath, [&](QIODevice& out) { return out.write(fileBytes) == fileBytes.size(); }, documentPath,
              savedAt);
}

void RecoveryStore::writeCopy(const QString& copyPath, const std::function<bool(QIODevice&)>& writeFile,
                              const QString& documentPath, const QDateTime& savedAt) {
    SafeFile::write(copyPath, writeFile);
    QJsonObject description;
    description.insert(QStringLiteral("document"), documentPath);
    description.insert(QStringLiteral("saved"), savedAt.toUTC().toString(Qt::ISODateWithMs));
    SafeFile::write(descriptionPath(copyPath), QJsonDocument(description).toJson());
}

void RecoveryStore::removeCopy(const QString& copyPath) {
    QFile::remove(copyPath);
    QFile::remove(descriptionPath(copyPath));
}

std::vector<RecoveryCopy> RecoveryStore::claimLeftovers() {
    std::vector<RecoveryCopy> found;
    const QFileInfoList files =
        QDir(folder_).entryInfoList({QStringLiteral("*") + kCopySuffix}, QDir::Files);
    for (const QFileInfo& file : files) {
        if (file.fileName().endsWith(kDamagedSuffix)) continue;
        const QString id = file.fileName().chopped(kCopySuffix.size());
        if (id == id_ || claimed_.count(id)) continue;
        auto lock = tryLock(pathOf(id, ".lock"));
        if (!lock) continue;  // a running program's own copy

        RecoveryCopy copy;
        copy.id = id;
        copy.copyPath = file.absoluteFilePath();
        copy.savedAt = file.lastModified();
        QFile description(descriptionPath(copy.copyPath));
        if (description.open(QIODevice::ReadOnly)) {
            // A description that cannot be read leaves the file's own time and no name.
            const QJsonObject json = QJsonDocument::fromJson(description.read(1 << 16)).object();
            copy.documentPath = json.value(QStringLiteral("document")).toString();
            const QDateTime saved =
                QDateTime::fromString(json.value(QStringLiteral("saved")).toString(), Qt::ISODateWithMs);
            if (saved.isValid()) copy.savedAt = saved.toLocalTime();
        }
        claimed_[id] = std::move(lock);
        found.push_back(copy);
    }
    clearDeadLocks();
    std::sort(found.begin(), found.end(),
              [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.savedAt > b.savedAt; });
    return found;
}

void RecoveryStore::clearDeadLocks() {
    // A run that ended before its first copy left only its lock file.
    const QFileInfoList locks = QDir(folder_).entryInfoList({QStringLiteral("*.lock")}, QDir::Files);
    for (const QFileInfo& file : locks) {
        const QString id = file.completeBaseName();
        if (id == id_ || claimed_.count(id) || QFileInfo::exists(pathOf(id, ".vxq"))) continue;
        // Unlocking removes the file; a running program's lock cannot be taken.
        if (auto lock = tryLock(file.absoluteFilePath())) lock->unlock();
    }
}

void RecoveryStore::release(const QString& id) {
    const auto it = claimed_.find(id);
    if (it == claimed_.end()) return;
    it->second->unlock();
    claimed_.erase(it);
}

void RecoveryStore::keep(const RecoveryCopy& copy) { release(copy.id); }

void RecoveryStore::discard(const RecoveryCopy& copy) {
    removeCopy(copy.copyPath);
    release(copy.id);
}

QString RecoveryStore::setAside(const RecoveryCopy& copy) {
    const QString aside = pathOf(copy.id, ".damaged.vxq");
    QFile::remove(aside);
    const QString kept = QFile::rename(copy.copyPath, aside) ? aside : copy.copyPath;
    QFile::remove(descriptionPath(copy.copyPath));
    release(copy.id);
    return kept;
}

}  // namespace pemo
