#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QIODevice;

namespace pemo {

// A recovery copy another run of the program left behind: the document as it stood at
// its last autosave, in the document file format.
struct RecoveryCopy {
    QString id;
    QString copyPath;      // the ".vxq" recovery copy
    QString documentPath;  // the file the document was opened from; empty for a new one
    QDateTime savedAt;     // when the copy was written
    // "无标题" or the document's file name.
    QString title() const;
};

// The recovery folder as one running copy of the program sees it. Each running copy owns
// one session: "<id>.vxq" (the copy), "<id>.json" (what it is a copy of, and when) and
// "<id>.lock", a lock file held for as long as the session lives. A copy whose lock
// nobody holds was left by a run that ended without closing (a crash, a power failure,
// a kill) and can be recovered; a copy whose lock is held belongs to a running program
// and is never touched.
class RecoveryStore {
public:
    explicit RecoveryStore(const QString& folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Creates the folder and takes this session's lock; false when neither works (the
    // program then runs without recovery copies).
    bool begin();
    bool isActive() const { return lock_ != nullptr; }
    const QString& folder() const { return folder_; }
    QString copyPath() const { return pathOf(id_, ".vxq"); }

    // Writes this session's copy from a complete document file, through a temporary file
    // renamed over the copy, then its description. Throws IoError. Touches nothing but
    // the two files, so it may run on a worker thread while the store is not destroyed.
    static void writeCopy(const QString& copyPath, const QByteArray& fileBytes,
                          const QString& documentPath, const QDateTime& savedAt);
    // The same with the file's bytes written by writeFile as it makes them (false when a
    // write failed), so that a large document's copy is never held whole.
    static void writeCopy(const QString& copyPath, const std::function<bool(QIODevice&)>& writeFile,
                          const QString& documentPath, const QDateTime& savedAt);
    // Removes this session's copy and description (the document was saved or closed).
    static void removeCopy(const QString& copyPath);

    // Copies left behind by runs that ended without closing, newest first. Each one
    // returned is locked for this session until it is kept, discarded or set aside, so
    // two programs started together never both offer it.
    std::vector<RecoveryCopy> claimLeftovers();
    // Leaves the copy for a later start.
    void keep(const RecoveryCopy& copy);
    // Deletes the copy.
    void discard(const RecoveryCopy& copy);
    // A copy that cannot be read: renamed to "<id>.damaged.vxq" (never offered again, but
    // there for whoever wants to look at it); returns the new path.
    QString setAside(const RecoveryCopy& copy);

private:
    QString pathOf(const QString& id, const char* suffix) const;
    static QString descriptionPath(const QString& copyPath);
    void release(const QString& id);
    // Removes the lock files of ended runs that left no copy.
    void clearDeadLocks();

    QString folder_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    std::map<QString, std::unique_ptr<QLockFile>> claimed_;
};

}  // namespace pemo
