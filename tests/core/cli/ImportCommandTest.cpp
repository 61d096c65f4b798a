// pemo --import … --export …, run through the built program.
#include <gtest/gtest.h>

#include "RunPemo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "Bytes.h"
#include "SqliteFixture.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/TemplateFile.h"
#include "core/records/ImportSettings.h"

using namespace pemo;
using test::gbk;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(PEMO_TEST_DATA "/import/") + QString::fromUtf8(name);
}

class ImportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        home_ = dir_.filePath("home");
        QDir().mkpath(home_);
        csv_ = write("rows.csv", "name,price\n" + gbk("茶") + ",3.5\n\ncoffee,12\n");
    }

    QString write(const char* name, const QByteArray& bytes) {
        const QString path = dir_.filePath(QString::fromUtf8(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Exit status and standard error.
    std::pair<int, QString> run(const QStringList& arguments) {
        const test::PemoRun r = test::runPemo(arguments, home_);
        return {r.exitCode, r.err};
    }

    // The first value and the current price of every record of a saved document.
    std::vector<std::pair<QByteArray, QByteArray>> records(const QString& path) {
        CPatDoc doc;
        DocumentFile::open(doc, path);
        std::vector<std::pair<QByteArray, QByteArray>> result;
        for (const auto& r : doc.records) {
            result.emplace_back(r->values[0], r->values[InfoRecord::kCurrentPrice]);
        }
        return result;
    }

    QTemporaryDir dir_;
    QString home_;
    QString csv_;
};

using Records = std::vector<std::pair<QByteArray, QByteArray>>;

}  // namespace

TEST_F(ImportCommandTest, RowsBecomeRecords) {
    const QString out = dir_.filePath("out.vxq");
    const QString columns = "1,0,0,0,0,0,0,0,0,0,0,2,0";
    auto [status, err] = run({"--import", csv_, "--columns", columns, "--header", "--export", out});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(records(out), (Records{{gbk("茶"), "3.5"}, {"coffee", "12"}}));

    // Without --header the first line is a record; without --columns the saved mapping.
    ImportSettings saved(ImportSettings::Kind::Text);
    saved.columns[0] = 2;
    QFile dic(home_ + "/PemImTxt.dic");
    ASSERT_TRUE(dic.open(QIODevice::WriteOnly));
    dic.write(saved.encode());
    dic.close();
    std::tie(status, err) = run({"--import", csv_, "--export", out});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(records(out), (Records{{"price", ""}, {"3.5", ""}, {"12", ""}}));

    // A workbook's first row is its header.
    std::tie(status, err) = run({"--import", fixture("products.xlsx"), "--sheet",
                                 QString::fromUtf8("商品"), "--export", out});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(records(out).size(), 3u);
}

TEST_F(ImportCommandTest, SignsOnATemplateAsPdf) {
    registerBlockClasses();
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& page = *doc.currentRecord();
    page.resizePage(100, 60);
    page.appendBlock(TextBlock::create(BlockKind::FirstVariable, {200, 200, 5000, 1400}, "{x}", true));
    const QString tmpl = write("t.vxt", TemplateFile::write(page, doc, "t"));
    const QString pdf = dir_.filePath("signs.pdf");
    auto [status, err] = run({"--import", csv_, "--template", tmpl, "--export", pdf, "--mode",
                              "proof-1x2"});
    ASSERT_EQ(status, 0) << err.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

TEST_F(ImportCommandTest, RefusalsAndUsage) {
    const QString out = dir_.filePath("x.vxq");
    struct Case {
        QStringList arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"--import", dir_.filePath("none.csv"), "--export", out}, 1, "无法打开文件"},
        {{"--import", fixture("not-gbk.csv"), "--export", out}, 1, "第3行第2列"},
        {{"--import", fixture("products.xls"), "--sheet", "Sheet9", "--export", out}, 1, "Sheet9"},
        {{"--import", QStringLiteral(PEMO_TEST_DATA "/odbc/users.mdb"), "--table", "Userz",
          "--export", out},
         1,
         "“Userz”"},
        {{"--import", csv_, "--columns", "2,2,0,0,0,0,0,0,0,0,0,0,0", "--export", out}, 1, "值相同"},
        {{"--import", csv_, "--columns", "1,2,3", "--export", out}, 2, "--columns"},
        {{"--import", csv_, "--columns", "201,0,0,0,0,0,0,0,0,0,0,0,0", "--export", out}, 2, ""},
        {{"--import", csv_, "--separator", "ab", "--export", out}, 2, ""},
        {{"--import", csv_, "--colour", "red", "--export", out}, 2, "unknown option"},
        {{"--import", csv_}, 2, "--export"},
        {{"--import", "--export", out}, 2, ""},
        {{"--import", csv_, "--export", dir_.filePath("x.gif")}, 2, ""},
    };
    for (const Case& c : cases) {
        const auto [status, err] = run(c.arguments);
        EXPECT_EQ(status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.message))) << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ImportCommandTest, DatabaseTableWithACondition) {
    const QString out = dir_.filePath("db.vxq");
    const QString shop = dir_.filePath("shop.db");
    test::makeShopDatabase(shop);
    const QString columns = QString::fromUtf8("名称,,,,,,,,,,,Price,");
    auto [status, err] = run({"--import", shop, "--table", QString::fromUtf8("商品 表"), "--where",
                              "Price > 50", "--columns", columns, "--export", out});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(records(out), (Records{{"Pear", "55.50"}, {"Fig", "120.00"}}));

    // The .mdb fixture: its first thirteen columns when none are named.
    std::tie(status, err) = run({"--import", QStringLiteral(PEMO_TEST_DATA "/odbc/users.mdb"), "--table",
                                 "Users", "--where", "UserSex IS NOT NULL AND UserId < 3", "--export", out});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(records(out), (Records{{"1", ""}, {"2", ""}}));
    std::tie(status, err) = run({"--import", QStringLiteral(PEMO_TEST_DATA "/odbc/users.mdb"), "--table",
                                 "Users", "--columns", "2,0,0,0,0,0,0,0,0,0,0,1,0", "--export", out});
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(records(out).size(), 3u);
    EXPECT_EQ(records(out)[2], (std::pair<QByteArray, QByteArray>{gbk("张三"), "3"}));

    // A bad condition and no matching row fail with the reason; the output is not written.
    QFile::remove(out);
    for (const char* condition : {"Nope > 1", "Price > 1000"}) {
        std::tie(status, err) = run({"--import", shop, "--table", QString::fromUtf8("商品 表"), "--where",
                                     condition, "--columns", columns, "--export", out});
        EXPECT_NE(status, 0) << condition;
        EXPECT_FALSE(err.isEmpty());
        EXPECT_FALSE(QFile::exists(out));
    }
}
