// Runs the built program's --check command on documents written here.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "RunPemo.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

using namespace pemo;

namespace {

// Three signs with the name and the price on them; the prices of the given ones are empty.
QString writeSigns(const QTemporaryDir& dir, const char* name, std::initializer_list<int> withoutPrice) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.clear();
    for (int i = 0; i < 3; ++i) {
        auto r = std::make_unique<InfoRecord>();
        r->setValue(0, Gbk::fromUnicode(QString::fromUtf8("苹果")));
        r->setValue(InfoRecord::kCurrentPrice, "9.90");
        r->appendBlock(TextBlock::create(BlockKind::FirstVariable, {1000, 1000, 9000, 3000}, "x", true));
        r->appendBlock(TextBlock::create(BlockKind::CurrentPrice, {1000, 4000, 9000, 6000}, "x", true));
        doc.records.push_back(std::move(r));
    }
    for (int i : withoutPrice) doc.recordAt(i)->setValue(InfoRecord::kCurrentPrice, "");
    doc.records.front()->current = true;
    const QString path = dir.filePath(QString::fromUtf8(name));
    DocumentFile::save(doc, path);
    return path;
}

}  // namespace

TEST(CheckCommand, ExitStatusSaysWhetherAnythingWasFound) {
    QTemporaryDir dir;
    const QString clean = writeSigns(dir, "clean.vxq", {});
    const QString faulty = writeSigns(dir, "faulty.vxq", {0, 2});
    const struct {
        const char* name;
        QStringList arguments;
        int status;
        int lines;
    } cases[] = {
        {"clean", {"--check", clean}, 0, 0},
        {"clean as a template", {"--check", clean, "--mode", "template"}, 0, 0},
        {"two empty prices", {"--check", faulty}, 3, 2},
        {"proof sheets of the same", {"--check", "--mode", "proof-2x2", faulty}, 3, 2},
        {"the template shows the names on purpose", {"--check", faulty, "--mode", "template"}, 0, 0},
        {"a tile job the sheet cannot hold", {"--check", clean, "--mode", "tile", "--sheet", "30x30",
                                              "--overlap", "20"}, 3, 1},
        {"a missing file", {"--check", dir.filePath("none.vxq")}, 1, 0},
        {"an unknown mode", {"--check", clean, "--mode", "sideways"}, 2, 0},
        {"two files", {"--check", clean, faulty}, 2, 0},
        {"no file", {"--check"}, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::PemoRun run = test::runPemo(c.arguments, dir.path());
        EXPECT_EQ(run.exitCode, c.status) << run.err.toStdString();
        const QString out = QString::fromUtf8(run.out);
        EXPECT_EQ(out.count(QLatin1Char('\n')), c.lines) << out.toStdString();
    }
    const QString out = QString::fromUtf8(test::runPemo({"--check", faulty}, dir.path()).out);
    EXPECT_TRUE(out.startsWith(QString::fromUtf8("第1项："))) << out.toStdString();
    EXPECT_TRUE(out.contains(QString::fromUtf8("第3项："))) << out.toStdString();
}

// A document made from each bundled poster with typical products, long names among
// them, passes the check: nothing spills from its frame, nothing shrinks past legibility.
TEST(CheckCommand, DocumentsFromTheBundledPostersPassTheCheck) {
    QTemporaryDir dir;
    const QString products = dir.filePath(QStringLiteral("products.csv"));
    {
        QFile file(products);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("红富士苹果,500g,山东烟台,12.80,9.90\n"
                   "特级精选有机红富士苹果礼盒装,12个装约3kg,陕西洛川,128.00,99.00\n"
                   "蒙牛纯牛奶250ml×24盒,250ml×24,内蒙古呼和浩特,69.90,59.90\n"
                   "香蕉,1kg,海南,6.50,4.98\n"
                   "维达超韧抽纸三层130抽×6包,130抽×6,湖北孝感,29.90,19.90\n");
    }
    // 商品名称, 商品规格, 商品产地, 原价, 现价.
    const QString columns = QStringLiteral("1,0,2,0,0,3,0,0,0,0,4,5,0");
    QDirIterator posters(QString::fromUtf8(PEMO_RUNTIME_DIR "/底图模板"), {QString::fromUtf8("*海报.vxt")},
                         QDir::Files, QDirIterator::Subdirectories);
    int checked = 0;
    while (posters.hasNext()) {
        const QString poster = posters.next();
        SCOPED_TRACE(poster.toStdString());
        const QString signs = dir.filePath(QStringLiteral("signs%1.vxq").arg(++checked));
        const test::PemoRun made = test::runPemo({"--import", products, "--separator", ",", "--columns", columns,
                                                  "--template", poster, "--export", signs},
                                                 dir.path());
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        const test::PemoRun check = test::runPemo({"--check", signs}, dir.path());
        EXPECT_EQ(check.exitCode, 0);
        EXPECT_EQ(QString::fromUtf8(check.out).toStdString(), "");
    }
    EXPECT_GE(checked, 10);
}
