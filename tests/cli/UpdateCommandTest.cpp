// Runs the built program's --update command on a document and price lists written here.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "RunPemo.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

using namespace pemo;

namespace {

QByteArray gbkOf(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

// Three products (name, barcode in variable 2, price) on a sign with both on it.
QString writeShelf(const QTemporaryDir& dir) {
    registerBlockClasses();
    CPatDoc doc;
    doc.newDocument();
    doc.records.clear();
    const char* const products[][3] = {{"苹果", "6901234567892", "4.50"},
                                       {"梨", "6901234567809", "3.20"},
                                       {"桃", "6901234567816", "5.00"}};
    for (const auto& p : products) {
        auto r = std::make_unique<InfoRecord>();
        r->setValue(0, gbkOf(p[0]));
        r->setValue(1, p[1]);
        r->setValue(InfoRecord::kCurrentPrice, p[2]);
        r->appendBlock(TextBlock::create(BlockKind::FirstVariable, {1000, 1000, 9000, 3000}, "x", true));
        r->appendBlock(TextBlock::create(BlockKind::CurrentPrice, {1000, 4000, 9000, 6000}, "x", true));
        doc.records.push_back(std::move(r));
    }
    doc.records.front()->current = true;
    const QString path = dir.filePath(QString::fromUtf8("货架.vxq"));
    DocumentFile::save(doc, path);
    return path;
}

QString writeList(const QTemporaryDir& dir, const char* name, const char* utf8) {
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(gbkOf(utf8));
    return path;
}

QByteArray sha256(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

const char* const kColumns = "1,2,0,0,0,0,0,0,0,0,0,3,0";  // name, barcode, 现价

}  // namespace

TEST(UpdateCommand, PrintsOnlyTheChangedAndNewSigns) {
    QTemporaryDir dir;
    const QString shelf = writeShelf(dir);
    const QByteArray before = sha256(shelf);
    // Two prices change (one written as a workbook's number), one product is new.
    const QString list = writeList(dir, "list.csv",
                                   "品名,条码,售价\n苹果,6901234567892,4.80\n梨,6.901234567809E+12,3.20\n"
                                   "桃,6901234567816,5.50\n橙,6901234567823,6.60\n");
    const QString pdf = dir.filePath("changed.pdf");
    const test::PemoRun run = test::runPemo({"--update", shelf, "--from", list, "--match", "2", "--columns",
                                             kColumns, "--header", "--export", pdf},
                                            dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out).trimmed(), QString::fromUtf8("改价 2 项，新增 1 项，未变 1 项，表中没有 0 项"));
    EXPECT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(sha256(shelf), before) << "the document itself is never written";
    QFile log(dir.filePath(QString::fromUtf8("货架.调价.csv")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count('\n'), 1 + 2 + 3);  // header, two prices, the new product's three values

    const QString updated = dir.filePath("updated.vxq");
    ASSERT_EQ(test::runPemo({"--update", shelf, "--from", list, "--match", "2", "--columns", kColumns, "--header",
                             "--export", updated},
                            dir.path())
                  .exitCode,
              0);
    registerBlockClasses();
    CPatDoc doc;
    DocumentFile::read(doc, DocumentFile::readFromDisk(updated));
    ASSERT_EQ(doc.recordCount(), 4);
    EXPECT_EQ(doc.recordAt(0)->value(InfoRecord::kCurrentPrice), QByteArray("4.80"));
    EXPECT_EQ(doc.recordAt(3)->value(0), gbkOf("橙"));
    EXPECT_EQ(doc.recordAt(3)->blocks.size(), 2u) << "a new product takes the current sign's design";
}

TEST(UpdateCommand, RefusalsWriteNothing) {
    QTemporaryDir dir;
    const QString shelf = writeShelf(dir);
    const QString twice = writeList(dir, "twice.csv", "苹果,6901234567892,4.80\n苹果,6901234567892,4.90\n");
    const QString good = writeList(dir, "good.csv", "苹果,6901234567892,4.80\n");
    const QString out = dir.filePath("out.pdf");
    const struct {
        const char* name;
        QStringList arguments;
        int status;
    } cases[] = {
        {"a key twice in the list", {"--update", shelf, "--from", twice, "--match", "2", "--columns", kColumns,
                                     "--export", out}, 3},
        {"no key", {"--update", shelf, "--from", good, "--columns", kColumns, "--export", out}, 2},
        {"a key past the targets", {"--update", shelf, "--from", good, "--match", "14", "--export", out}, 2},
        {"no list", {"--update", shelf, "--match", "2", "--export", out}, 2},
        {"a key without a column", {"--update", shelf, "--from", good, "--match", "5", "--columns", kColumns,
                                    "--export", out}, 1},
        {"a missing document", {"--update", dir.filePath("none.vxq"), "--from", good, "--match", "2",
                                "--columns", kColumns, "--export", out}, 1},
        {"a missing list", {"--update", shelf, "--from", dir.filePath("none.csv"), "--match", "2", "--columns",
                            kColumns, "--export", out}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::PemoRun run = test::runPemo(c.arguments, dir.path());
        EXPECT_EQ(run.exitCode, c.status) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
        EXPECT_FALSE(QFile::exists(dir.filePath(QString::fromUtf8("货架.调价.csv"))));
    }
}
