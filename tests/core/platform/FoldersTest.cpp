#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QLockFile>
#include <QTemporaryDir>
#include <sys/wait.h>
#include <unistd.h>

#include "core/platform/Folders.h"

using namespace pemo;

namespace {

// Points PEMO_HOME somewhere else for one test and puts it back afterwards.
class HomeOverride {
public:
    explicit HomeOverride(const QString& path) : saved_(qgetenv("PEMO_HOME")) {
        qputenv("PEMO_HOME", path.toUtf8());
    }
    ~HomeOverride() { qputenv("PEMO_HOME", saved_); }

private:
    QByteArray saved_;
};

QString writeFile(const QString& path, const QByteArray& bytes = "x") {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

}  // namespace

TEST(Folders, ProgramFolderFollowsPemoHome) {
    QTemporaryDir dir;
    {
        // A trailing separator is dropped.
        HomeOverride home(dir.path() + "/");
        EXPECT_EQ(programFolder(), QDir::cleanPath(dir.path()));
        EXPECT_EQ(QFileInfo(tempFolder()).absolutePath(), QDir::cleanPath(dir.path()) + "/PEMO-TEMP");
        EXPECT_TRUE(QFileInfo(tempFolder()).isDir());
        QDir(tempFolder()).removeRecursively();
        ensureTempFolder();  // made again when it went away
        EXPECT_TRUE(QFileInfo(tempFolder()).isDir());
    }
    EXPECT_NE(programFolder(), QDir::cleanPath(dir.path()));
}

TEST(Folders, AProgramFolderThatCannotBeWrittenGivesWayToTheUsersFolder) {
    QTemporaryDir dir;
    // Even root cannot make a folder below a file.
    const QString file = writeFile(dir.filePath("installed"));
    HomeOverride home(file);
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    EXPECT_EQ(QFileInfo(tempFolder()).absolutePath(), dir.filePath("cache") + "/pemo/PEMO-TEMP");
    EXPECT_TRUE(QFileInfo(tempFolder()).isDir());
    qputenv("XDG_CACHE_HOME", savedCache);
}

TEST(Folders, DeleteFileForcedRemovesReadOnlyFile) {
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("locked.dic"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    EXPECT_TRUE(deleteFileForced(path));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(Folders, MakeWritable) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.dic");
    EXPECT_TRUE(makeWritable(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));  // nothing created

    const QString path = writeFile(dir.filePath("ro.dic"), "abc");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    EXPECT_TRUE(makeWritable(path));
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::WriteOwner);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("abc"));  // contents untouched
}

TEST(Folders, NewUniqueNamesAreDistinctLowerCaseUuids) {
    const QRegularExpression form(
        "^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$");
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i) {
        const QString name = newUniqueName();
        EXPECT_EQ(name.size(), 36);
        EXPECT_TRUE(form.match(name).hasMatch()) << name.toStdString();
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), 200);
}

TEST(Folders, SafeFileNamePartKeepsOrdinaryTextAndNeutralisesTheRest) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {".bmp", ".bmp"},
        {"底图 一", "底图 一"},
        {"a/b\\c", "a_b_c"},
        {":*?\"<>|", "_______"},
        {"tab\there", "tab_here"},
        {".", "_"},
        {"..", "_."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(safeFileNamePart(QString::fromUtf8(c.in)), QString::fromUtf8(c.out));
    }
}


TEST(Folders, EachRunHasItsOwnTempFolderAndLeftoversOfEndedRunsGo) {
    QTemporaryDir dir;
    HomeOverride home(dir.path());
    const QString own = tempFolder();
    const QString shared = QFileInfo(own).absolutePath();
    EXPECT_TRUE(QFileInfo::exists(own + ".lock"));
    writeFile(own + "/IMAGEmine-1.bmp");

    // A run killed or crashed: its lock names a process that is gone.
    const QString dead = shared + "/" + newUniqueName();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(dead + ".lock");
        _exit(lock.tryLock(0) ? 0 : 1);  // ends without unlocking
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QDir().mkpath(dead));
    writeFile(dead + "/IMAGEkey-2.jpg");
    // A run still going: its lock is held.
    const QString live = shared + "/" + newUniqueName();
    QLockFile liveLock(live + ".lock");
    ASSERT_TRUE(liveLock.tryLock(0));
    ASSERT_TRUE(QDir().mkpath(live));
    writeFile(live + "/IMAGEkey-3.jpg");
    // A folder whose lock is gone, and files that are no run's.
    const QString lockless = shared + "/" + newUniqueName();
    ASSERT_TRUE(QDir().mkpath(lockless));
    writeFile(lockless + "/x.png");
    writeFile(shared + "/other.txt");

    EXPECT_EQ(removeLeftoverTempCopies(), 2);
    EXPECT_FALSE(QFileInfo::exists(dead));
    EXPECT_FALSE(QFileInfo::exists(dead + ".lock"));
    EXPECT_FALSE(QFileInfo::exists(lockless));
    EXPECT_TRUE(QFileInfo::exists(live + "/IMAGEkey-3.jpg"));
    EXPECT_TRUE(QFileInfo::exists(own + "/IMAGEmine-1.bmp"));
    EXPECT_TRUE(QFileInfo::exists(shared + "/other.txt"));

    // Once the other run has ended, its copies go too.
    liveLock.unlock();
    QFile(live + ".lock").remove();
    EXPECT_EQ(removeLeftoverTempCopies(), 1);
    EXPECT_FALSE(QFileInfo::exists(live));
}
