// pemo --import on hostile and oversized inputs, run under an address-space limit: each
// ends within 10 s, with 0 or with 1 and its reason, and leaves the source as it was.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <sqlite3.h>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/TemplateFile.h"

using namespace pemo;

namespace {

constexpr int kSeconds = 10;
// Address space, not memory in use.
constexpr int kMemoryKb = 1024 * 1024;

struct Outcome {
    bool finished = false;
    int exitCode = -1;
    qint64 milliseconds = 0;
    QString err;
};

// Runs pemo under `ulimit -v`, killed when it outlives the time limit.
Outcome runLimited(const QStringList& arguments, const QString& home) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PEMO_HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    QStringList shell{"-c", QStringLiteral("ulimit -v %1; exec \"$0\" \"$@\"").arg(kMemoryKb),
                      QStringLiteral(PEMO_RUNTIME_DIR "/pemo")};
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral("/bin/sh"), shell + arguments);
    Outcome outcome;
    outcome.finished = process.waitForFinished(kSeconds * 1000) && process.exitStatus() == QProcess::NormalExit;
    outcome.milliseconds = clock.elapsed();
    if (!outcome.finished) {
        process.kill();
        process.waitForFinished();
        outcome.err = QString::fromUtf8(process.readAllStandardError());
        return outcome;
    }
    outcome.exitCode = process.exitCode();
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

QByteArray hashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

class ImportBoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        home_ = dir_.filePath("home");
        QDir().mkpath(home_);
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    QString write(const char* name, const QByteArray& bytes) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    // A price tag of ten text blocks, as a shop's template has them.
    QString writeTemplate() {
        registerBlockClasses();
        CPatDoc doc;
        doc.newDocument();
        InfoRecord& page = *doc.currentRecord();
        page.resizePage(100, 70);
        for (int b = 0; b < 10; ++b) {
            const int top = 100 + b * 380;
            const int32_t kind = b < 9 ? BlockKind::FirstVariable + b : BlockKind::FixedText;
            page.appendBlock(TextBlock::create(kind, {200, top, 5400, top + 340}, "x", true));
        }
        return write("tag.vxt", TemplateFile::write(page, doc, "tag"));
    }

    QString writeDatabase(const char* name, int rows) {
        const QString file = path(name);
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE t (n INTEGER, name TEXT)", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int i = 0; i < rows; ++i) {
            const QByteArray sql = "INSERT INTO t VALUES (" + QByteArray::number(i) + ", 'item')";
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return file;
    }

    QTemporaryDir dir_;
    QString home_;
};

QByteArray rows(int count, int valueBytes) {
    QByteArray text;
    text.reserve(qsizetype(count) * (valueBytes + 8));
    const QByteArray value(valueBytes, 'x');
    for (int i = 0; i < count; ++i) text += value + ',' + QByteArray::number(i % 100) + ".5\n";
    return text;
}

}  // namespace

TEST_F(ImportBoundsTest, EveryProbeEndsInTimeAndSaysWhy) {
    const QString tmpl = writeTemplate();
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(PEMO_TEST_DATA "/import/make_fixtures.py"), QStringLiteral("--bombs"), dir_.path()});
    ASSERT_TRUE(python.waitForFinished(120000) && python.exitCode() == 0);
    const QString db = writeDatabase("shop.db", 50);
    // A damaged Access file: the shop fixture with every fourth page's first bytes overwritten.
    QFile mdbFixture(QStringLiteral(PEMO_TEST_DATA "/odbc/shop.mdb"));
    ASSERT_TRUE(mdbFixture.open(QIODevice::ReadOnly));
    QByteArray mdb = mdbFixture.readAll();
    for (qsizetype page = 4096 * 2; page + 16 < mdb.size(); page += 4096 * 4) mdb.replace(page, 16, QByteArray(16, '\xff'));
    const QString damagedMdb = write("damaged.mdb", mdb);
    const QString mapping = "1,0,0,0,0,0,0,0,0,0,0,2,0";

    struct Case {
        const char* name;
        QStringList arguments;  // before --export
        int status;             // -1: 0 or 1 will do
        const char* message;
    };
    const Case cases[] = {
        {"a 100 KB value on a template",
         {write("long.csv", rows(1, 100 * 1024)), "--columns", mapping, "--template", tmpl}, 1, "第1行第1列"},
        {"a 60 KB value on a template",
         {write("longest.csv", rows(1, 60 * 1024)), "--columns", mapping, "--template", tmpl}, 0, ""},
        {"a sheet that inflates to 300 MB", {path("sheet-300mb.xlsx"), "--columns", mapping}, 1, "工作簿"},
        {"a sheet that inflates to 120 MB", {path("sheet-120mb.xlsx"), "--columns", mapping}, 1, "工作簿"},
        {"shared strings that inflate to 120 MB", {path("strings-120mb.xlsx"), "--columns", mapping}, -1, ""},
        {"an endless condition",
         {db, "--table", "t", "--where",
          "n IN (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c WHERE x < 0)"},
         1, "条件执行超时"},
        {"a condition of a gigabyte", {db, "--table", "t", "--where", "length(randomblob(1000000000)) > n"}, 1, "内存"},
        {"a damaged Access file", {damagedMdb, "--table", QString::fromUtf8("商品 价格")}, -1, ""},
        {"a million rows on a template",
         {write("million.csv", rows(1000000, 8)), "--columns", mapping, "--template", tmpl}, 1, "1000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = c.arguments.front();
        const QByteArray before = hashOf(source);
        const QString out = path("out.png");
        QFile::remove(out);
        const Outcome outcome =
            runLimited(QStringList{"--import"} + c.arguments + QStringList{"--export", out}, home_);
        ASSERT_TRUE(outcome.finished) << "stopped or still running after " << outcome.milliseconds
                                      << " ms: " << outcome.err.toStdString();
        if (c.status >= 0) {
            EXPECT_EQ(outcome.exitCode, c.status) << outcome.err.toStdString();
        } else {
            EXPECT_TRUE(outcome.exitCode == 0 || outcome.exitCode == 1) << outcome.err.toStdString();
        }
        EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(c.message))) << outcome.err.toStdString();
        EXPECT_EQ(QFile::exists(out), outcome.exitCode == 0);
        EXPECT_EQ(hashOf(source), before);
        std::printf("  %-40s exit %d in %lld ms\n", c.name, outcome.exitCode, outcome.milliseconds);
    }
}
