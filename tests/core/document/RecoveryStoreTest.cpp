#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include "core/document/RecoveryStore.h"

using namespace pemo;

namespace {

const QDateTime kSaved(QDate(2026, 3, 14), QTime(9, 26, 53));

// A lock file naming a process that no longer exists.
void writeDeadLock(const QString& folder, const QString& id) {
    QDir().mkpath(folder);
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"), {});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    QFile lock(folder + "/" + id + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(pid) + "\npemo\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
}

// What a run that was killed leaves: its copy and description, and maybe its lock file.
void leaveBehind(const QString& folder, const QString& id, const QByteArray& bytes,
                 const QString& document, bool withDeadLock) {
    QDir().mkpath(folder);
    RecoveryStore::writeCopy(folder + "/" + id + ".vxq", bytes, document, kSaved);
    if (withDeadLock) writeDeadLock(folder, id);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

}  // namespace

TEST(RecoveryStore, ARunningSessionsCopyIsNeverClaimedAndGoesWhenItCloses) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    QString copyPath;
    {
        RecoveryStore running(folder);
        ASSERT_TRUE(running.begin());
        copyPath = running.copyPath();
        RecoveryStore::writeCopy(copyPath, "bytes", "/docs/a.vxq", kSaved);
        ASSERT_TRUE(QFileInfo::exists(copyPath));

        // A second program started meanwhile has its own copy and leaves this one alone.
        RecoveryStore second(folder);
        ASSERT_TRUE(second.begin());
        EXPECT_NE(second.copyPath(), copyPath);
        EXPECT_TRUE(second.claimLeftovers().empty());
    }
    EXPECT_FALSE(QFileInfo::exists(copyPath));
    EXPECT_TRUE(filesIn(folder).isEmpty()) << filesIn(folder).join(' ').toStdString();
}

TEST(RecoveryStore, CopiesOfEndedRunsAreClaimedOnceAndHandledByChoice) {
    struct Case {
        const char* name;
        bool deadLock;
        void (*handle)(RecoveryStore&, const RecoveryCopy&);
        bool offeredAgain;
        QStringList filesAfter;  // of the leftover "old"
    };
    const Case cases[] = {
        {"keep", false, [](RecoveryStore& s, const RecoveryCopy& c) { s.keep(c); }, true,
         {"old.json", "old.vxq"}},
        {"keep, dead lock", true, [](RecoveryStore& s, const RecoveryCopy& c) { s.keep(c); }, true,
         {"old.json", "old.vxq"}},
        {"discard", true, [](RecoveryStore& s, const RecoveryCopy& c) { s.discard(c); }, false, {}},
        {"set aside", false,
         [](RecoveryStore& s, const RecoveryCopy& c) { EXPECT_TRUE(s.setAside(c).endsWith(".damaged.vxq")); },
         false, {"old.damaged.vxq"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString folder = dir.filePath("recovery");
        leaveBehind(folder, "old", "the document", "/docs/价格.vxq", c.deadLock);

        RecoveryStore first(folder);
        ASSERT_TRUE(first.begin());
        const auto found = first.claimLeftovers();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].documentPath, "/docs/价格.vxq");
        EXPECT_EQ(found[0].title(), QString::fromUtf8("价格.vxq"));
        EXPECT_EQ(found[0].savedAt, kSaved);
        // While the first program holds it, a second one does not offer it too.
        {
            RecoveryStore second(folder);
            ASSERT_TRUE(second.begin());
            EXPECT_TRUE(second.claimLeftovers().empty());
        }
        c.handle(first, found[0]);

        RecoveryStore later(folder);
        ASSERT_TRUE(later.begin());
        EXPECT_EQ(later.claimLeftovers().size(), c.offeredAgain ? 1u : 0u);
        QStringList left = filesIn(folder).filter(QStringLiteral("old"));
        left.removeAll(QStringLiteral("old.lock"));
        EXPECT_EQ(left, c.filesAfter);
    }
}

TEST(RecoveryStore, AnUntitledCopyWithoutItsDescriptionIsStillOffered) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    leaveBehind(folder, "b", "newer", QString(), false);
    leaveBehind(folder, "a", "older", QString(), false);
    QFile::remove(folder + "/a.json");
    QFile::remove(folder + "/b.json");
    for (const auto& [name, time] : {std::pair{"/b.vxq", kSaved.addDays(1)}, std::pair{"/a.vxq", kSaved}}) {
        QFile file(folder + name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    RecoveryStore store(folder);
    ASSERT_TRUE(store.begin());
    const auto found = store.claimLeftovers();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].id, "b");  // newest first
    EXPECT_EQ(found[0].title(), QString::fromUtf8("无标题"));
    EXPECT_EQ(found[1].savedAt, kSaved);
}

// A run killed before its first copy leaves only its lock file; the next start clears it
// away, but never the lock of a program still running.
TEST(RecoveryStore, LockFilesOfEndedRunsWithoutACopyAreCleared) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    writeDeadLock(folder, "gone");
    RecoveryStore running(folder);
    ASSERT_TRUE(running.begin());
    const QString runningLock = QFileInfo(running.copyPath()).completeBaseName() + ".lock";

    RecoveryStore next(folder);
    ASSERT_TRUE(next.begin());
    EXPECT_TRUE(next.claimLeftovers().empty());
    const QStringList files = filesIn(folder);
    EXPECT_FALSE(files.contains("gone.lock"));
    EXPECT_TRUE(files.contains(runningLock)) << files.join(' ').toStdString();
}
