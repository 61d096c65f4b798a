// Runs the built program's --export command on a document written here.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "codecs/BmpWriter.h"
#include "document/CPatDoc.h"
#include "document/DocumentFile.h"

using namespace pemo;

namespace {

class HeadlessExportTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // A red background on record 1 (190 × 280 mm); record 2 is 100 × 50 mm and blank.
        QImage red(40, 60, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QString picture = dir.filePath(QStringLiteral("red.bmp"));
        ASSERT_TRUE(BmpWriter::write(red, picture));
        CPatDoc doc;
        doc.newDocument();
        doc.currentRecord()->applyBackground(
            PictureDescription::ofFile(picture, PictureDescription::Background, "c", "red"),
            doc.backgrounds);
        ASSERT_EQ(doc.currentRecord()->background.present, 1);
        doc.records.push_back(doc.newRecord());
        doc.recordAt(1)->resizePage(100, 50);
        document = dir.filePath(QStringLiteral("two.vxq"));
        DocumentFile::save(doc, document);
    }

    int run(QStringList arguments) {
        QProcess process;
        process.setProgram(QStringLiteral(PEMO_RUNTIME_DIR "/pemo"));
        process.setArguments(arguments);
        process.start();
        if (!process.waitForFinished(60000)) return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString out(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QString document;
};

}  // namespace

TEST_F(HeadlessExportTest, WritesOneRecordsPageAsAPicture) {
    struct Case {
        const char* name;
        QStringList options;
        QSize size;
        QRgb centre;
    };
    // 10771 × 15874 twips at 150 dpi; record 2 is 5669 × 2834 twips.
    const Case cases[] = {
        {"a.png", {}, {1121, 1653}, qRgb(255, 0, 0)},
        {"b.bmp", {"--no-background"}, {1121, 1653}, qRgb(255, 255, 255)},
        {"c.png", {"--dpi", "72"}, {538, 793}, qRgb(255, 0, 0)},
        {"d.BMP", {"--record", "2", "--dpi", "300"}, {1181, 590}, qRgb(255, 255, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Options after the paths, and again before them.
        for (bool before : {false, true}) {
            QStringList arguments{QStringLiteral("--export")};
            const QStringList paths{out(c.name), document};
            arguments << (before ? c.options + paths : paths + c.options);
            QFile::remove(out(c.name));
            ASSERT_EQ(run(arguments), 0);
            const QImage image(out(c.name), QString::fromLatin1(c.name).toLower().endsWith(".png")
                                                ? "PNG"
                                                : "BMP");
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), c.size);
            EXPECT_EQ(image.pixel(image.width() / 2, image.height() / 2), c.centre);
        }
    }
}

TEST_F(HeadlessExportTest, RefusesBadRequests) {
    struct Case {
        QStringList arguments;
        int status;
    };
    const QString png = out("x.png");
    const Case cases[] = {
        {{"--export", png, document, "--record", "3"}, 1},
        {{"--export", png, dir.filePath("missing.vxq")}, 1},
        {{"--export", png, document, "--record", "0"}, 2},
        {{"--export", png, document, "--dpi", "x"}, 2},
        {{"--export", png, document, "--dpi"}, 2},
        {{"--export", png, document, "--dpi", "100000"}, 2},
        {{"--export", png, document, "--colour"}, 2},
        {{"--export", png}, 2},
        {{"--export", png, document, document}, 2},
        {{"--export", out("x.gif"), document}, 2},
        {{"--export", out("x.vxq"), document, "--dpi", "100"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(run(c.arguments), c.status);
    }
    EXPECT_FALSE(QFile::exists(png));
    // Saving a document still works.
    EXPECT_EQ(run({"--export", out("copy.vxq"), document}), 0);
    EXPECT_TRUE(QFile::exists(out("copy.vxq")));
}
