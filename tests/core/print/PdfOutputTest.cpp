#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "PrintFixtures.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Gbk.h"
#include "core/document/InfoRecord.h"
#include "core/document/DocumentFile.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"

namespace pemo {

using test::makeDocument;

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& path) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

}  // namespace

TEST(PdfOutput, WritesEveryPageOfTheJob) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) << "poppler-utils missing";
    QTemporaryDir dir;
    const auto queue = makeDocument({{90, 120, 1}, {90, 120, 2}, {90, 120, 0}, {90, 120, 3}, {90, 120, 1}});
    const auto tall = makeDocument({{400, 580, 1}});
    const struct {
        CPatDoc* doc;
        int mode;
        int overlap;
        int pages;
    } cases[] = {
        {queue.get(), PrintMode::ByItemWithBackground, 10, 4},
        {queue.get(), PrintMode::ByCopiesWithoutBackground, 10, 7},
        {queue.get(), PrintMode::Proof2x2, 10, 1},
        {queue.get(), PrintMode::Proof1x2, 10, 2},
        {queue.get(), PrintMode::Merge, 10, 2},
        {tall.get(), PrintMode::Tile, 10, 9},
        {tall.get(), PrintMode::Tile, 0, 6},
    };
    for (const auto& c : cases) {
        PrintJob job(*c.doc);
        PrintSettings settings;
        settings.mode = c.mode;
        settings.tileOverlapMm = c.overlap;
        // A4 less 5 mm margins: the 200 × 287 mm printable area.
        settings.sheetMm = PdfOutput::printableMm(QSizeF(210, 297));
        ASSERT_TRUE(job.prepare(settings));
        const QString path = dir.filePath(QStringLiteral("mode%1.pdf").arg(c.mode));
        QString error;
        ASSERT_TRUE(PdfOutput::write(job, path, QSizeF(210, 297), 72, &error)) << error.toStdString();
        EXPECT_EQ(pdfPages(path), c.pages) << "mode " << c.mode;
    }
}

TEST(PdfOutput, RefusedJobAndUnwritableFileLeaveNoFile) {
    QTemporaryDir dir;
    const auto empty = makeDocument({{90, 120, 0}});
    PrintJob job(*empty);
    EXPECT_FALSE(job.prepare(PrintSettings()));
    QString error;
    const QString path = dir.filePath(QStringLiteral("x.pdf"));
    EXPECT_FALSE(PdfOutput::write(job, path, QSizeF(210, 297), 72, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));

    const auto one = makeDocument({{90, 120, 1}});
    PrintJob ok(*one);
    ASSERT_TRUE(ok.prepare(PrintSettings()));
    EXPECT_FALSE(PdfOutput::write(ok, dir.filePath(QStringLiteral("no/such/folder/x.pdf")), QSizeF(210, 297), 72,
                                  &error));
}

// Text blocks reach the PDF as text in an embedded font, not as pixels: the sample's
// words come back out of the file.
TEST(PdfOutput, TextStaysText) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty()) << "poppler-utils missing";
    const QString sample = QStringLiteral(PEMO_RUNTIME_DIR) + QString::fromUtf8("/样本/促销样本.vxq");
    QFile file(sample);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the sample document is built with the program";
    registerBlockClasses();
    CPatDoc doc;
    DocumentFile::read(doc, file.readAll());
    // The first sign's first variable gets a value of our own.
    InfoRecord* first = nullptr;
    int field = -1;
    for (const auto& r : doc.records) {
        if (r->copies == 0) continue;
        for (const auto& block : r->blocks) {
            if (block->kind >= BlockKind::FirstVariable && block->kind <= BlockKind::LastVariable) {
                field = block->kind - BlockKind::FirstVariable;
                break;
            }
        }
        first = r.get();
        break;
    }
    ASSERT_NE(first, nullptr);
    ASSERT_GE(field, 0) << "the sample's first queued sign shows no variable";
    first->setValue(field, Gbk::fromUnicode(QString::fromUtf8("特价商品 ABC-123")));
    first->refreshPlaceholders(false, {});

    PrintJob job(doc);
    PrintSettings settings;
    settings.mode = PrintMode::ByItemWithBackground;
    ASSERT_TRUE(job.prepare(settings));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.pdf"));
    ASSERT_TRUE(PdfOutput::write(job, path, QSizeF(210, 297), 150, nullptr));

    // Two header lines, then one line per font, each embedded.
    const QStringList fonts = run(QStringLiteral("pdffonts"), {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(fonts.size(), 2) << "no font in the PDF";
    for (const QString& line : fonts.mid(2)) {
        EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << "not embedded: " << line.toStdString();
    }
    QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-l"), QStringLiteral("1"), path, QStringLiteral("-")});
    EXPECT_TRUE(text.remove(QRegularExpression(QStringLiteral("\\s"))).contains(QString::fromUtf8("特价商品ABC-123")))
        << text.toStdString();
}

}  // namespace pemo
