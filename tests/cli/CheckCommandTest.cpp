// Runs the built program's --check command on documents written here.
#include <gtest/gtest.h>

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
