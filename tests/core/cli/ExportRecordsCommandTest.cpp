// pemo --export OUT.csv|OUT.txt|OUT.xlsx and --mode list, run through the built program.
#include <gtest/gtest.h>

#include "RunPemo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/records/TableSheet.h"

using namespace pemo;
using test::gbk;

namespace {

class ExportRecordsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        registerBlockClasses();
        home_ = dir_.filePath("home");
        QDir().mkpath(home_);
        CPatDoc doc;
        doc.newDocument();
        doc.records.front()->values[0] = gbk("茶 \"龙井\"");
        doc.records.front()->values[11] = "3.5";
        doc.records.push_back(doc.newRecord());
        document_ = dir_.filePath("list.vxq");
        DocumentFile::save(doc, document_);
        CPatDoc blank;
        blank.newDocument();
        blank_ = dir_.filePath("blank.vxq");
        DocumentFile::save(blank, blank_);
    }

    std::pair<int, QString> run(const QStringList& arguments) {
        const test::PemoRun r = test::runPemo(arguments, home_);
        return {r.exitCode, r.err};
    }
    QString out(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir_;
    QString home_;
    QString document_;
    QString blank_;
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST_F(ExportRecordsCommandTest, WritesTextAndWorkbooks) {
    // Every value in order without saved settings: 13 fields per record.
    ASSERT_EQ(run({"--export", out("all.csv"), document_}).first, 0);
    const QByteArray all = readAll(out("all.csv"));
    EXPECT_TRUE(all.startsWith("\"" + gbk("茶 \"\"龙井\"\"") + "\",\"\","));
    EXPECT_EQ(all.count("\r\n"), 2);
    EXPECT_EQ(all.count(','), 24);

    ASSERT_EQ(run({"--export", out("two.txt"), document_, "--columns", "2,0,0,0,0,0,0,0,0,0,0,1,0",
                   "--separator", ";"}).first, 0);
    EXPECT_EQ(readAll(out("two.txt")), "\"3.5\";\"" + gbk("茶 \"\"龙井\"\"") + "\"\r\n\"\";\"\"\r\n");

    ASSERT_EQ(run({"--export", out("book.xlsx"), document_}).first, 0);
    const TableSheet sheet(out("book.xlsx"), ',', QStringLiteral("Sheet1"));
    ASSERT_TRUE(sheet.isRead()) << sheet.message().toStdString();
    EXPECT_EQ(sheet.cell(12, 1), gbk("现价"));
    EXPECT_EQ(sheet.cell(1, 2), gbk("茶 \"龙井\""));
}

TEST_F(ExportRecordsCommandTest, ListPrintsToPdf) {
    ASSERT_EQ(run({"--export", out("list.pdf"), document_, "--mode", "list", "--all"}).first, 0);
    EXPECT_TRUE(readAll(out("list.pdf")).startsWith("%PDF"));
    const auto [status, error] = run({"--export", out("none.pdf"), blank_, "--mode", "list", "--all"});
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(error.contains(QString::fromUtf8("没有可打印的信息。")));
    EXPECT_FALSE(QFile::exists(out("none.pdf")));
}

TEST_F(ExportRecordsCommandTest, RefusalsAndUsage) {
    struct Case {
        QStringList arguments;
        int status;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"--export", out("a.csv"), document_, "--columns", "1,2"}, 2, "bad --columns"},
        {{"--export", out("a.csv"), document_, "--columns", "1,2,4,0,0,0,0,0,0,0,0,0,0"}, 1, "共导出3项"},
        {{"--export", out("a.csv"), document_, "--separator", "\""}, 2, "bad --separator"},
        {{"--export", out("a.xlsx"), document_, "--separator", ";"}, 2, "--separator"},
        {{"--export", out("a.csv"), document_, "--mode", "list"}, 2, "unknown option"},
        {{"--export", out("a.pdf"), document_, "--all"}, 2, "--mode list"},
        {{"--export", out("a.csv")}, 2, "need OUT and FILE"},
        // A workbook that cannot be written: its folder is missing, or it is a folder.
        {{"--export", out("gone/a.xlsx"), document_}, 1, "gone/a.xlsx"},
        {{"--export", out("folder.xlsx"), document_}, 1, "folder.xlsx"},
    };
    QDir().mkpath(out("folder.xlsx"));
    for (const Case& c : cases) {
        const auto [status, error] = run(c.arguments);
        EXPECT_EQ(status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message))) << error.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out("a.csv")));
    EXPECT_FALSE(QFile::exists(out("gone")));
    EXPECT_EQ(QDir(out("folder.xlsx")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}
