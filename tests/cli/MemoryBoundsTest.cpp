// Small jobs run within 1 GiB of address space; a command that runs out of memory ends
// with exit status 1 and says so, and leaves no file behind: neither its output nor a
// temporary one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "RunPemo.h"

using namespace pemo;

namespace {

constexpr qint64 kGibibyteKb = 1024 * 1024;
// Far less than the records of 300,000 rows need, and enough to start.
constexpr qint64 kAddressSpaceKb = 200 * 1024;

TEST(MemoryBounds, SmallJobsRunWithinOneGibibyte) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath("home");
    QDir().mkpath(home);
    const QString sample = QStringLiteral(PEMO_TEST_DATA "/../../resources/program/样本/促销样本.vxq");
    const QString shelfTag = QString::fromUtf8(PEMO_RUNTIME_DIR "/底图模板/价签/蓝色价签-TMPL/蓝色价签-货架签.vxt");
    const QString rows = dir.filePath("rows.csv");
    {
        QFile file(rows);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 20; ++i) file.write("Product " + QByteArray::number(i) + ",500g,,,,,,,,,9.90,8.50,\n");
    }
    const QStringList commands[] = {
        {"--dump", sample},
        {"--dump", shelfTag},
        {"--export", dir.filePath("sample.vxq"), sample},
        {"--import", rows, "--template", shelfTag, "--export", dir.filePath("tags.vxq")},
    };
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        const test::PemoRun run = test::runPemo(command, home, {}, {30, kGibibyteKb});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
}

// 199,900 rows of 100 one-character cells: as many as the import takes, within 1 GiB.
TEST(MemoryBounds, TheMostCellsTheImportTakesFitInOneGibibyte) {
    if (!test::kAddressSpaceLimitsWork) GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath("home");
    QDir().mkpath(home);
    const QString cells = dir.filePath("cells.csv");
    {
        QFile file(cells);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray row = QByteArray("a,").repeated(99) + "b\n";
        const QByteArray block = row.repeated(1999);
        for (int i = 0; i < 100; ++i) file.write(block);
    }
    const QString out = dir.filePath("out.vxq");
    const test::PemoRun run = test::runPemo({"--import", cells, "--export", out}, home, {}, {60, kGibibyteKb});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(out));
}

TEST(MemoryBounds, ACommandThatRunsOutSaysSoAndWritesNothing) {
    if (!test::kAddressSpaceLimitsWork) GTEST_SKIP() << "no address-space limit under AddressSanitizer";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath("home");
    QDir().mkpath(home);
    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    const QString rows = dir.filePath("rows.csv");
    {
        QFile file(rows);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray text;
        for (int i = 0; i < 300000; ++i) text += "Product " + QByteArray::number(i) + ",500g,,,,,,,,,9.90,8.50,\n";
        file.write(text);
    }
    for (const char* name : {"signs.vxq", "signs.pdf", "values.csv"}) {
        SCOPED_TRACE(name);
        const test::PemoRun run = test::runPemo({"--import", rows, "--export", QDir(out).filePath(name)}, home, {},
                                                {30, kAddressSpaceKb});
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8("内存不足："))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(rows)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8("没有写出任何文件"))) << run.err.toStdString();
        EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }
    // The picture copies of the run are gone too.
    const QDir temp(QDir(home).filePath("PEMO-TEMP"));
    EXPECT_EQ(temp.entryList(QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace
