// Runs the built program's --export command on a document written here.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "core/codecs/BmpWriter.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

using namespace pemo;

namespace {

int runPemo(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PEMO_RUNTIME_DIR "/pemo"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return -1;
    return process.exitCode();
}

}  // namespace

TEST(HeadlessCommands, ExportWritesOneRecordsPageAsAPicture) {
    QTemporaryDir dir;
    // Record 1: 190 × 280 mm on a red background; record 2: 100 × 50 mm, blank.
    QImage red(40, 60, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString picture = dir.filePath(QStringLiteral("red.bmp"));
    ASSERT_TRUE(BmpWriter::write(red, picture));
    CPatDoc doc;
    doc.newDocument();
    doc.currentRecord()->applyBackground(
        PictureDescription::ofFile(picture, PictureDescription::Background, "c", "red"),
        doc.backgrounds);
    doc.records.push_back(doc.newRecord());
    doc.recordAt(1)->resizePage(100, 50);
    const QString document = dir.filePath(QStringLiteral("two.vxq"));
    DocumentFile::save(doc, document);

    struct Case {
        const char* name;
        QStringList options;
        int status;
        QSize size;  // 10771 × 15874 or 5669 × 2834 twips at the resolution
        QRgb centre;
    };
    const Case cases[] = {
        {"a.png", {}, 0, {1121, 1653}, qRgb(255, 0, 0)},
        {"b.bmp", {"--no-background", "--dpi", "72"}, 0, {538, 793}, qRgb(255, 255, 255)},
        {"c.BMP", {"--record", "2", "--dpi", "300"}, 0, {1181, 590}, qRgb(255, 255, 255)},
        {"d.png", {"--record", "3"}, 1, {}, 0},
        {"e.png", {"--dpi", "0"}, 2, {}, 0},
        {"f.png", {"--dpi"}, 2, {}, 0},
        {"g.png", {"--colour"}, 2, {}, 0},
        {"h.png", {"two.vxq"}, 2, {}, 0},
        {"i.gif", {}, 2, {}, 0},
        {"j.vxq", {"--dpi", "100"}, 2, {}, 0},  // only pictures take picture options
    };
    for (const Case& c : cases) {
        for (bool optionsFirst : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (optionsFirst ? " options first" : ""));
            const QString out = dir.filePath(QString::fromLatin1(c.name));
            const QStringList paths{out, document};
            const QStringList arguments = QStringList{QStringLiteral("--export")} +
                                          (optionsFirst ? c.options + paths : paths + c.options);
            QFile::remove(out);
            ASSERT_EQ(runPemo(arguments), c.status);
            if (c.status != 0) {
                EXPECT_FALSE(QFile::exists(out));
                continue;
            }
            const QImage image(out, out.endsWith(QStringLiteral(".png")) ? "PNG" : "BMP");
            EXPECT_EQ(image.size(), c.size);
            EXPECT_EQ(image.pixel(image.width() / 2, image.height() / 2), c.centre);
        }
    }
    EXPECT_EQ(runPemo({"--export", dir.filePath("copy.vxq"), document}), 0);
}
