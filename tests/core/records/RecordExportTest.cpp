#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/config/DicFile.h"
#include "core/config/VariableNameList.h"
#include "core/document/CPatDoc.h"
#include "core/platform/FileError.h"
#include "core/records/DelimitedText.h"
#include "core/records/ExportSettings.h"
#include "core/records/ImportSettings.h"
#include "core/records/RecordExport.h"
#include "core/records/TableSheet.h"

using namespace pemo;
using test::Bytes;
using test::gbk;
using Kind = ExportSettings::Kind;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RecordExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        doc.newDocument();
        ASSERT_TRUE(dir.isValid());
    }
    // Records with values 0 … as given; the document's first record is reused.
    void addRecord(const std::vector<std::pair<int, const char*>>& values) {
        if (!first) doc.records.push_back(doc.newRecord());
        first = false;
        for (const auto& [index, utf8] : values) doc.records.back()->values[size_t(index)] = gbk(utf8);
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    CPatDoc doc;
    QTemporaryDir dir;
    bool first = true;
};

}  // namespace

TEST(ExportSettings, FilesByteForByte) {
    ExportSettings text(Kind::Text);
    text.orders = {2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 13};
    text.separatorIndex = 3;
    Bytes expected;
    for (int c : text.orders) expected.i32(c);
    expected.i32(3);
    EXPECT_EQ(text.encode(), expected.data());
    EXPECT_EQ(text.encode().size(), 56);

    ExportSettings book(Kind::Workbook);
    EXPECT_EQ(book.sheetName, QByteArray("Sheet1"));
    book.orders = text.orders;
    book.sheetName = gbk("商品表");
    Bytes expectedBook;
    for (int c : book.orders) expectedBook.i32(c);
    expectedBook.text("商品表");
    EXPECT_EQ(book.encode(), expectedBook.data());

    ASSERT_TRUE(text.save());
    ASSERT_TRUE(book.save());
    EXPECT_EQ(readFile(DicFile::path(QStringLiteral("PemExTxt.dic"))), expected.data());
    EXPECT_EQ(readFile(DicFile::path(QStringLiteral("PemExXls.dic"))), expectedBook.data());
    const ExportSettings loaded = ExportSettings::load(Kind::Workbook);
    EXPECT_EQ(loaded.orders, book.orders);
    EXPECT_EQ(loaded.sheetName, book.sheetName);

    // Too short, or numbers out of range: the defaults, or 0 for the bad number.
    EXPECT_EQ(ExportSettings::decode(Kind::Workbook, QByteArray(20, '\1')).sheetName,
              QByteArray("Sheet1"));
    Bytes odd;
    odd.i32(14).i32(1);
    for (int i = 2; i < 13; ++i) odd.i32(0);
    odd.i32(9);
    const ExportSettings decoded = ExportSettings::decode(Kind::Text, odd.data());
    EXPECT_EQ(decoded.orders[0], 0);
    EXPECT_EQ(decoded.orders[1], 1);
    EXPECT_EQ(decoded.separatorIndex, 0);
}

TEST(ExportSettings, ChecksAndOrder) {
    const VariableNameList names;
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> numbers;  // target, number
        const char* file;
        const char* sheet;
        QString message;
    };
    auto target = [&names](int t) { return ImportSettings::targetName(t, names); };
    const std::vector<Case> cases = {
        {"no file", {{0, 1}}, "", "S", QString::fromUtf8("空文件名。")},
        {"no sheet", {{0, 1}}, "a.xls", "", QString::fromUtf8("在配置中，工作表名不能为空。")},
        {"bad sheet", {{0, 1}}, "a.xls", "a/b", ExportSettings::sheetNameProblem(QStringLiteral("a/b"))},
        {"nothing", {}, "a.txt", nullptr, QString::fromUtf8("在配置中，所有项为空，文件无法导出。")},
        {"gap", {{0, 1}, {1, 2}, {10, 4}}, "a.txt", nullptr,
         QString::fromUtf8("共导出3项，%1的导出序号错误。").arg(target(10))},
        {"equal", {{2, 1}, {5, 1}}, "a.txt", nullptr,
         QString::fromUtf8("在配置中，%1和%2的值相同，文件无法导出。").arg(target(2), target(5))},
        {"good", {{10, 1}, {0, 2}}, "a.txt", nullptr, QString()},
    };
    for (const Case& c : cases) {
        ExportSettings settings(c.sheet ? Kind::Workbook : Kind::Text);
        if (c.sheet) settings.sheetName = QByteArray(c.sheet);
        for (const auto& [t, n] : c.numbers) settings.orders[size_t(t)] = n;
        EXPECT_EQ(settings.check(QString::fromUtf8(c.file), names), c.message) << c.name;
    }
    ExportSettings settings(Kind::Text);
    settings.orders[10] = 1;
    settings.orders[0] = 2;
    EXPECT_EQ(settings.order(), (std::vector<int>{10, 0}));
    settings.selectAll();
    EXPECT_EQ(settings.order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_FALSE(ExportSettings::sheetNameProblem(QString(32, QLatin1Char('x'))).isEmpty());
    EXPECT_TRUE(ExportSettings::sheetNameProblem(QString::fromUtf8("商品 Sheet")).isEmpty());
}

TEST_F(RecordExportTest, TextBytesAreExact) {
    addRecord({{0, "苹果"}, {10, "5.5"}});
    addRecord({});  // the empty record an import leaves at the end
    const QByteArray bytes = RecordExport::text(doc, {10, 0}, ',');
    EXPECT_EQ(bytes, QByteArray("\"5.5\",\"") + gbk("苹果") + "\"\r\n\"\",\"\"\r\n");
    EXPECT_EQ(RecordExport::text(doc, {0}, ';', RecordExport::Encoding::Utf8WithBom),
              QByteArray("\xEF\xBB\xBF\"") + QString::fromUtf8("苹果").toUtf8() + "\"\r\n\"\"\r\n");
}

TEST_F(RecordExportTest, TrickyValuesSurviveTheRoundTrip) {
    const std::vector<const char*> values = {"say \"hi\"", "a,b;c", "two\r\nlines", "\"", "苹果\n",
                                             "plain", ""};
    for (const char* v : values) addRecord({{0, v}, {1, "x"}});
    for (char separator : {',', ';'}) {
        const QString file = path(separator == ',' ? "out.csv" : "out.txt");
        RecordExport::writeText(doc, {0, 1}, separator, file);
        const TableSheet sheet(file, separator);
        ASSERT_TRUE(sheet.isRead()) << sheet.message().toStdString();
        ASSERT_EQ(sheet.totalRows(), int(values.size()));
        for (size_t r = 0; r < values.size(); ++r) {
            EXPECT_EQ(sheet.cell(1, int(r) + 1), gbk(values[r])) << values[r];
            EXPECT_EQ(sheet.cell(2, int(r) + 1), QByteArray("x"));
        }
    }
}

TEST_F(RecordExportTest, FailedWriteLeavesTheOldFile) {
    addRecord({{0, "new"}});
    // The target's folder cannot take the temporary file: a missing folder.
    const QString missing = path("gone/out.csv");
    EXPECT_THROW(RecordExport::writeText(doc, {0}, ',', missing), IoError);
    EXPECT_THROW(RecordExport::writeWorkbook(doc, {0}, QStringLiteral("S"), path("gone/out.xlsx")),
                 IoError);
    // A target that is a folder cannot be replaced; the folder and what it holds stay.
    for (const char* name : {"busy.csv", "busy.xlsx"}) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QString::fromUtf8(name) + QStringLiteral("/keep")));
        const QString target = path(name);
        if (target.endsWith(QStringLiteral(".csv"))) {
            EXPECT_THROW(RecordExport::writeText(doc, {0}, ',', target), IoError);
        } else {
            EXPECT_THROW(RecordExport::writeWorkbook(doc, {0}, QStringLiteral("S"), target), IoError);
        }
        EXPECT_TRUE(QDir(target + QStringLiteral("/keep")).exists());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);

    // Replacing an existing file.
    const QString old = path("old.csv");
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("previous contents that are longer\r\n");
    file.close();
    RecordExport::writeText(doc, {0}, ',', old);
    EXPECT_EQ(readFile(old), QByteArray("\"new\"\r\n"));
}

TEST_F(RecordExportTest, WorkbookReadsBack) {
    const QByteArray longValue = QByteArray(300, 'L');
    doc.variableNames.setName(0, gbk("品名"));
    addRecord({{0, "苹果 \"红\" 'x'"}, {10, "5.5"}, {12, "8折"}});
    doc.records.back()->values[1] = longValue;
    addRecord({});
    const QString file = path("商品.xlsx");
    const QString sheetName = QString::fromUtf8("商品清单");
    RecordExport::writeWorkbook(doc, {0, 1, 10, 12}, sheetName, file);

    // Readable like any new file, not private like its temporary file.
    EXPECT_TRUE(QFileInfo(file).permissions() & QFile::ReadGroup);
    const TableSheet sheet(file, ',', sheetName);
    ASSERT_TRUE(sheet.isRead()) << sheet.message().toStdString();
    // The empty record's row holds no cell, which readers do not count at the end.
    EXPECT_EQ(sheet.totalRows(), 2);
    EXPECT_EQ(sheet.cell(1, 1), gbk("品名"));
    EXPECT_EQ(sheet.cell(3, 1), gbk("原价"));
    EXPECT_EQ(sheet.cell(4, 1), gbk("折扣"));
    EXPECT_EQ(sheet.cell(1, 2), gbk("苹果 \"红\" 'x'"));
    EXPECT_EQ(sheet.cell(2, 2), longValue);
    EXPECT_EQ(sheet.cell(3, 2), QByteArray("5.5"));
    EXPECT_EQ(sheet.cell(4, 2), gbk("8折"));

    // An independent reader, where one is installed.
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, openpyxl\n"
                                 "wb = openpyxl.load_workbook(sys.argv[1], read_only=True)\n"
                                 "ws = wb[sys.argv[2]]\n"
                                 "rows = list(ws.iter_rows(values_only=True))\n"
                                 "print(len(rows), rows[0][0], len(rows[1][1]), rows[1][0])\n"),
                  file, sheetName});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        GTEST_SKIP() << "python3-openpyxl not available: " << python.readAllStandardError().toStdString();
    }
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
              QString::fromUtf8("2 品名 300 苹果 \"红\" 'x'"));
}

TEST_F(RecordExportTest, WorkbookIsWrittenSafelyOrNotAtAll) {
    for (int i = 0; i < 300; ++i) addRecord({{0, "苹果"}, {1, "一箱二十四个装的红富士苹果"}, {10, "128.5"}});
    const QByteArray previous("the previous version");
    struct Case {
        const char* name;
        qint64 sizeLimit;  // 0: none
        bool succeeds;
    };
    const Case cases[] = {
        {"files may not grow past 4 KB", 4096, false},
        {"files may not grow past 12 KB", 12288, false},
        {"room enough", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString target = folder.filePath("out.xlsx");
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(previous);
        old.close();
        bool written = true;
        {
            rlimit saved{};
            getrlimit(RLIMIT_FSIZE, &saved);
            if (c.sizeLimit > 0) {
                // Writes past the limit fail (instead of killing the process).
                signal(SIGXFSZ, SIG_IGN);
                const rlimit small{rlim_t(c.sizeLimit), saved.rlim_max};
                setrlimit(RLIMIT_FSIZE, &small);
            }
            try {
                RecordExport::writeWorkbook(doc, {0, 1, 10}, QStringLiteral("S"), target);
            } catch (const IoError& error) {
                written = false;
                EXPECT_TRUE(error.message().contains(target)) << error.message().toStdString();
            }
            setrlimit(RLIMIT_FSIZE, &saved);
        }
        EXPECT_EQ(written, c.succeeds);
        // Nothing half written is left anywhere, beside the target or hidden.
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{"out.xlsx"});
        if (c.succeeds) {
            const TableSheet sheet(target, ',', QStringLiteral("S"));
            ASSERT_TRUE(sheet.isRead()) << sheet.message().toStdString();
            EXPECT_EQ(sheet.totalRows(), 301);
        } else {
            EXPECT_EQ(readFile(target), previous);
        }
    }
}

TEST_F(RecordExportTest, WorkbookFollowsALinkAndDropsControlCharacters) {
    addRecord({{0, "plain"}});
    doc.records.back()->values[1] = QByteArray("a\0b\x01" "c\x7F", 6) + gbk("甲\t乙\n丙");
    addRecord({{0, "\x02"}});
    const QString real = path("real.xlsx");
    const QString link = path("link.xlsx");
    QFile old(real);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    ASSERT_TRUE(QFile::link(real, link));

    EXPECT_EQ(RecordExport::writeWorkbook(doc, {0, 1}, QStringLiteral("S"), link), 2);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    const TableSheet sheet(real, ',', QStringLiteral("S"));
    ASSERT_TRUE(sheet.isRead()) << sheet.message().toStdString();
    EXPECT_EQ(sheet.cell(2, 2), "abc" + gbk("甲\t乙\n丙"));
    EXPECT_EQ(sheet.cell(1, 3), QByteArray());
    EXPECT_EQ(RecordExport::cleanedCellsMessage(2),
              QString::fromUtf8("2个单元格中有工作簿不能保存的控制字符，已去掉。"));
}
