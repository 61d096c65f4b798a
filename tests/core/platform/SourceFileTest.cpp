// Files the readers are handed that are no files to read: each is refused at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <functional>
#include <QFile>
#include <QTemporaryDir>

#include "core/platform/SourceFile.h"
#include "core/records/DatabaseImport.h"
#include "core/records/TableSheet.h"

using namespace pemo;

namespace {

struct Source {
    const char* name;
    std::function<QString(const QTemporaryDir&)> make;  // the path to read
    const char* refusal;                                // part of the message; "" = readable
};

QString write(const QTemporaryDir& dir, const char* name, qint64 size) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a,b\n");
    // A sparse file takes no room on the disk whatever its length.
    if (size > 4) {
        EXPECT_TRUE(file.resize(size));
    }
    return path;
}

const Source kSources[] = {
    {"a small text", [](const QTemporaryDir& d) { return write(d, "small.csv", 4); }, ""},
    {"exactly the limit", [](const QTemporaryDir& d) { return write(d, "limit.csv", SourceFile::kMaxSize); }, ""},
    {"one byte over", [](const QTemporaryDir& d) { return write(d, "big.csv", SourceFile::kMaxSize + 1); }, "太大"},
    {"a FIFO without a writer",
     [](const QTemporaryDir& d) {
         const QString path = d.filePath("pipe.csv");
         EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         return path;
     },
     "不是普通文件"},
    {"a device that never ends", [](const QTemporaryDir&) { return QStringLiteral("/dev/zero"); }, "不是普通文件"},
    {"a folder", [](const QTemporaryDir& d) { return d.path(); }, "不是普通文件"},
    {"a missing file", [](const QTemporaryDir& d) { return d.filePath("none.csv"); }, "无法打开文件"},
};

}  // namespace

TEST(SourceFile, OnlyRegularFilesUpToTheLimitAreRead) {
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.name);
        QTemporaryDir dir;
        const QString path = source.make(dir);
        QElapsedTimer timer;
        timer.start();
        const QString problem = SourceFile::problem(path);
        if (*source.refusal) {
            EXPECT_TRUE(problem.contains(QString::fromUtf8(source.refusal))) << problem.toStdString();
            EXPECT_TRUE(problem.contains(path));
            EXPECT_TRUE(SourceFile::head(path, 8).isEmpty());

            // Every import refuses it with the same words, without waiting.
            const TableSheet sheet(path, ',');
            EXPECT_EQ(sheet.message(), problem);
            DatabaseSelection selection;
            selection.path = path;
            selection.table = QStringLiteral("t");
            selection.fields[0] = QStringLiteral("a");
            CellTable cells;
            QString message;
            EXPECT_FALSE(DatabaseImport::read(selection, cells, message));
            EXPECT_EQ(message, problem);
        } else {
            EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
            EXPECT_EQ(SourceFile::head(path, 3), QByteArray("a,b"));
        }
        EXPECT_LT(timer.elapsed(), 5000);
    }
}
