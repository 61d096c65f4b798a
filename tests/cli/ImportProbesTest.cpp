// pemo --import on hostile and damaged inputs: it ends within 10 s under a 1 GB address
// space limit with 0 or 1, says why when it refuses, and never changes the source.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <map>

#include "SqliteFixture.h"
#include "core/codecs/Gbk.h"

namespace {

QString fixture(const char* name) {
    return QStringLiteral(PEMO_TEST_DATA "/import/") + QString::fromUtf8(name);
}

QString write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Every regular file of a folder by name, with the SHA-256 of its bytes.
std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QByteArray hash = "not a file";
        QFile file(info.absoluteFilePath());
        if (info.isFile() && info.size() < (1 << 20) && file.open(QIODevice::ReadOnly)) {
            hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        } else if (info.isFile()) {
            hash = QByteArray::number(info.size());
        }
        files[info.fileName()] = hash;
    }
    return files;
}

struct Probe {
    const char* name;
    // Makes the input in folder; returns its path.
    std::function<QString(const QString& folder)> make;
    QStringList options;  // between DATA and --export
    int status;
    const char* says;  // part of stderr when refused
};

const QString kFirstColumn = QStringLiteral("1,0,0,0,0,0,0,0,0,0,0,0,0");
const QString kFieldA = QStringLiteral("a,,,,,,,,,,,,");

const Probe kProbes[] = {
    {"a FIFO nobody writes",
     [](const QString& d) {
         const QString path = d + "/pipe.csv";
         EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         return path;
     },
     {"--columns", kFirstColumn}, 1, "不是普通文件"},
    {"/dev/zero", [](const QString&) { return QStringLiteral("/dev/zero"); }, {"--columns", kFirstColumn}, 1,
     "不是普通文件"},
    {"a text over 1 GiB",
     [](const QString& d) {
         QFile file(d + "/huge.csv");
         EXPECT_TRUE(file.open(QIODevice::WriteOnly));
         EXPECT_TRUE(file.resize((qint64(1) << 30) + 1));
         return file.fileName();
     },
     {"--columns", kFirstColumn}, 1, "太大"},
    {"a quote never closed", [](const QString& d) { return write(d + "/open.csv", "a,1\nb,\"2\nc,3\n"); },
     {"--columns", kFirstColumn}, 1, "第2行的引号没有结束"},
    {"UTF-16 without a mark",
     [](const QString& d) {
         const QString text = QString::fromUtf8("名称,3\r\n雪碧,2\r\n");
         return write(d + "/utf16.csv", QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
     },
     {"--columns", kFirstColumn}, 0, ""},
    {"UTF-8 with a stray byte",
     [](const QString& d) {
         return write(d + "/stray.csv", QString::fromUtf8("名称,3\n可口可乐,2\n").toUtf8() + "\xFF\n");
     },
     {"--columns", kFirstColumn}, 1, "第3行"},
    {"GBK split at |", [](const QString& d) { return write(d + "/bar.txt", pemo::Gbk::fromUnicode(QString::fromUtf8("東|1\n"))); },
     {"--separator", "|", "--columns", kFirstColumn}, 0, ""},
    {"a workbook part failing its CRC",
     [](const QString& d) {
         QFile::copy(fixture("damaged-strings-crc.xlsx"), d + "/crc.xlsx");
         return d + "/crc.xlsx";
     },
     {"--columns", kFirstColumn}, 1, "工作簿"},
    {"SQLite with a hot journal",
     [](const QString& d) {
         pemo::test::makeHotJournal(d + "/hot.db", 500);
         return d + "/hot.db";
     },
     {"--table", "t", "--columns", kFieldA}, 0, ""},
    {"SQLite with its log not folded in",
     [](const QString& d) {
         pemo::test::makeUnfoldedLog(d + "/wal.db", 500);
         return d + "/wal.db";
     },
     {"--table", "t", "--columns", kFieldA}, 0, ""},
    {"SQLite damaged",
     [](const QString& d) {
         pemo::test::makeCountedTable(d + "/bad.db", 500, false);
         QFile file(d + "/bad.db");
         EXPECT_TRUE(file.open(QIODevice::ReadWrite));
         file.seek(100);
         file.write(QByteArray(4000, '\xAA'));
         return d + "/bad.db";
     },
     {"--table", "t", "--columns", kFieldA}, 1, "已损坏"},
};

}  // namespace

TEST(ImportProbes, EndQuicklySayWhyAndLeaveTheSourceAlone) {
    for (const Probe& probe : kProbes) {
        SCOPED_TRACE(probe.name);
        QTemporaryDir dir;
        const QString sources = dir.filePath("sources");
        const QString home = dir.filePath("home");
        QDir().mkpath(sources);
        QDir().mkpath(home);
        const QString data = probe.make(sources);
        const auto before = snapshot(sources);

        QProcess pemo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PEMO_HOME", home);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        pemo.setProcessEnvironment(env);
        pemo.setChildProcessModifier([] {
            const rlimit space{rlim_t(1) << 30, rlim_t(1) << 30};
            setrlimit(RLIMIT_AS, &space);
        });
        QElapsedTimer timer;
        timer.start();
        pemo.start(QStringLiteral(PEMO_RUNTIME_DIR "/pemo"),
                   QStringList{"--import", data} + probe.options + QStringList{"--export", dir.filePath("out.vxq")});
        const bool ended = pemo.waitForFinished(10000);
        if (!ended) {
            pemo.kill();
            pemo.waitForFinished();
        }
        ASSERT_TRUE(ended) << "still running after " << timer.elapsed() << " ms";
        const QString err = QString::fromUtf8(pemo.readAllStandardError());
        EXPECT_EQ(pemo.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(pemo.exitCode(), probe.status) << err.toStdString();
        if (probe.status != 0) {
            EXPECT_TRUE(err.contains(QString::fromUtf8(probe.says))) << err.toStdString();
        }
        EXPECT_EQ(snapshot(sources), before);
    }
}
