// pemo --export OUT.pdf FILE --mode labels: label sheets from the command line, the
// catalogue read from the test fixtures.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

using namespace pemo;

namespace {

struct Outcome {
    int status = -1;
    QString errors;
};

Outcome runPemo(const QStringList& arguments, const QString& catalogue) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PEMO_LABEL_TEMPLATES"), catalogue);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PEMO_RUNTIME_DIR "/pemo"), arguments);
    Outcome run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return run;
    run.status = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The page count and the first page's size in points, from pdfinfo.
std::pair<int, QSizeF> pdfPages(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    return {pages.hasMatch() ? pages.captured(1).toInt() : -1,
            QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble())};
}

}  // namespace

TEST(LabelExport, SheetsFromTheCatalogueOrMeasured) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) << "poppler-utils missing";
    QTemporaryDir dir;
    // Seven records of 64 × 38 mm tags, one copy each.
    CPatDoc doc;
    doc.newDocument();
    for (size_t i = 0; i < 7; ++i) {
        if (i > 0) doc.records.push_back(doc.newRecord());
        doc.records[i]->resizePage(64, 38);
    }
    const QString document = dir.filePath(QStringLiteral("tags.vxq"));
    DocumentFile::save(doc, document);
    const QString fixtures = QStringLiteral(PEMO_TEST_DATA "/labels");
    const QString nothing = dir.filePath(QStringLiteral("no-catalogue"));

    const struct {
        const char* name;
        QStringList options;
        QString catalogue;
        int status;
        int pages;
        QSizeF pageSize;  // points
        const char* said;      // in the error output
    } cases[] = {
        {"a", {"--mode", "labels", "--label", "Avery L7160"}, fixtures, 0, 1, {595.3, 841.9}, ""},
        {"b", {"--mode", "labels", "--label", "avery j8160", "--start", "16", "--outline"}, fixtures, 0, 2,
         {595.3, 841.9}, ""},
        {"c", {"--mode", "labels", "--label", "Avery 5160", "--start", "30"}, fixtures, 0, 2, {612, 792}, ""},
        {"d", {"--mode", "labels", "--label", "custom:A4,8x3,70x37,0,0,70,37", "--start", "20"}, nothing, 0, 2,
         {595.3, 841.9}, ""},
        {"e", {"--mode", "labels", "--label", "custom:200x100,1x2,90x90,5,5,100,0"}, nothing, 0, 4, {566.9, 283.5},
         ""},
        {"f", {"--mode", "labels", "--label", "Avery L7106"}, fixtures, 2, 0, {}, "Avery L7160"},
        {"g", {"--mode", "labels", "--label", "Avery L7160"}, nothing, 2, 0, {}, "custom"},
        {"h", {"--mode", "labels", "--label", "custom:A4,8x3,70x37,0,0,70"}, fixtures, 2, 0, {}, "bad --label"},
        {"i", {"--mode", "labels"}, fixtures, 2, 0, {}, "--label"},
        {"j", {"--label", "Avery L7160"}, fixtures, 2, 0, {}, "--mode labels"},
        {"k", {"--mode", "labels", "--label", "Avery L7160", "--start", "22"}, fixtures, 1, 0, {}, "21"},
        {"l", {"--mode", "labels", "--label", "Avery L7160", "--start", "0"}, fixtures, 2, 0, {}, "--start"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        const Outcome run = runPemo(QStringList{QStringLiteral("--export"), out, document} + c.options, c.catalogue);
        ASSERT_EQ(run.status, c.status) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.said))) << run.errors.toStdString();
        if (c.status != 0) {
            EXPECT_FALSE(QFile::exists(out));
            continue;
        }
        // The fixtures' unusable products are no business of a job on another sheet.
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        const auto [pages, size] = pdfPages(out);
        EXPECT_EQ(pages, c.pages);
        EXPECT_NEAR(size.width(), c.pageSize.width(), 1);
        EXPECT_NEAR(size.height(), c.pageSize.height(), 1);
    }
}
