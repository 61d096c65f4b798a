// Runs the built pemo executable on files made here and checks what it prints and
// returns: 0 done, 1 refused with the message on stderr, 2 wrong arguments.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "Bytes.h"
#include "RunPemo.h"
#include "core/codecs/BmpWriter.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/TemplateFile.h"

using namespace pemo;
using pemo::test::gbk;

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

QImage background() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(0x336699);
    return image;
}

int bmpSize() {
    return int(BmpWriter::encode(background()).size());
}

class HeadlessCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // The program's own folder for the run: its temp folder and library go here.
        home_ = dir_.path() + "/home";
        QDir().mkpath(home_);

        const QString bg = dir_.path() + "/bg.bmp";
        ASSERT_TRUE(BmpWriter::write(background(), bg));

        CPatDoc doc;
        doc.newDocument();
        InfoRecord& r = *doc.records.front();
        r.resizePage(100, 50);
        r.applyBackground(PictureDescription::ofFile(bg, PictureDescription::Background,
                                                     gbk("节日"), gbk("春节")),
                          doc.backgrounds);
        r.values[0] = gbk("可口可乐");
        r.values[InfoRecord::kCurrentPrice] = "3.50";
        auto second = doc.newRecord();
        second->values[0] = "tea";
        doc.records.push_back(std::move(second));
        documentPath_ = dir_.path() + "/价签.vxq";
        DocumentFile::save(doc, documentPath_);
        templatePath_ = dir_.path() + "/春节-模板1.vxt";
        write(templatePath_, TemplateFile::write(r, doc, gbk("模板1")));
    }

    Outcome run(const QStringList& arguments) {
        const test::PemoRun r = test::runPemo(arguments, home_);
        return {r.exitCode, r.out, r.err};
    }

    QString write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir_;
    QString home_;
    QString documentPath_;
    QString templatePath_;
};

TEST_F(HeadlessCommandsTest, DumpShowsADocument) {
    const Outcome r = run({"--dump", documentPath_});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(json["type"].toString(), "document");
    EXPECT_EQ(json["version"].toInt(), 800);
    EXPECT_EQ(json["variableNames"].toArray().at(0).toString(), QString::fromUtf8("商品名称"));
    EXPECT_EQ(json["images"].toArray().size(), 0);
    const QJsonArray backgrounds = json["backgrounds"].toArray();
    ASSERT_EQ(backgrounds.size(), 1);
    EXPECT_EQ(backgrounds[0]["name"].toString(), QString::fromUtf8("春节"));
    EXPECT_EQ(backgrounds[0]["extension"].toString(), ".bmp");
    EXPECT_EQ(backgrounds[0]["width"].toInt(), 3);
    EXPECT_EQ(backgrounds[0]["bytes"].toInt(), bmpSize());
    const QJsonArray records = json["records"].toArray();
    ASSERT_EQ(records.size(), 2);
    const QJsonObject first = records[0].toObject();
    EXPECT_EQ(first["widthMm"].toInt(), 100);
    EXPECT_EQ(first["heightTw"].toInt(), 2834);
    EXPECT_EQ(first["values"].toArray().size(), 13);
    EXPECT_EQ(first["values"][0].toString(), QString::fromUtf8("可口可乐"));
    EXPECT_EQ(first["values"][11].toString(), "3.50");
    EXPECT_EQ(first["background"]["key"].toString(), backgrounds[0]["key"].toString());
    EXPECT_EQ(first["background"]["present"].toInt(), 1);
    EXPECT_EQ(first["blocks"].toArray().size(), 0);
    EXPECT_EQ(records[1]["values"][0].toString(), "tea");
    EXPECT_EQ(records[1]["background"]["present"].toInt(), 0);
}

TEST_F(HeadlessCommandsTest, DumpShowsATemplate) {
    const Outcome r = run({"--dump", templatePath_});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(json["type"].toString(), "template");
    EXPECT_EQ(json["version"].toInt(), 800);
    EXPECT_EQ(json["widthMm"].toInt(), 100);
    EXPECT_EQ(json["heightMm"].toInt(), 50);
    EXPECT_EQ(json["widthTw"].toInt(), 5669);
    const QJsonObject background = json["background"].toObject();
    EXPECT_EQ(background["category"].toString(), QString::fromUtf8("节日"));
    EXPECT_EQ(background["name"].toString(), QString::fromUtf8("春节"));
    EXPECT_EQ(background["extension"].toString(), "bmp");
    EXPECT_EQ(background["templateName"].toString(), QString::fromUtf8("模板1"));
    EXPECT_EQ(background["bytes"].toInt(), bmpSize());
    EXPECT_EQ(json["pictures"].toArray().size(), 0);
    EXPECT_EQ(json["blocks"].toArray().size(), 0);
}

TEST_F(HeadlessCommandsTest, ExportTurnsATemplateIntoAOneRecordDocument) {
    const QString out = dir_.path() + "/导出.vxq";
    const Outcome r = run({"--export", out, templatePath_});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    CPatDoc doc;
    ASSERT_NO_THROW(DocumentFile::open(doc, out));
    ASSERT_EQ(doc.recordCount(), 1);
    const InfoRecord& record = *doc.records.front();
    EXPECT_EQ(record.widthMm, 100);
    EXPECT_EQ(record.heightMm, 50);
    EXPECT_EQ(record.background.templateName, gbk("模板1"));
    EXPECT_EQ(record.background.present, 1);
    ASSERT_EQ(doc.backgrounds.size(), 1);
    EXPECT_EQ(doc.backgrounds.entries().front()->fileBytes(), BmpWriter::encode(background()));
    QDir temp(home_ + "/PEMO-TEMP");
    EXPECT_TRUE(temp.isEmpty()) << "the program leaves no temp files behind";

    // A document exports to the same document.
    const QString again = dir_.path() + "/again.vxq";
    ASSERT_EQ(run({"--export", again, documentPath_}).exitCode, 0);
    CPatDoc original, copy;
    DocumentFile::open(original, documentPath_);
    DocumentFile::open(copy, again);
    EXPECT_EQ(DocumentFile::write(copy, false), DocumentFile::write(original, false));
}

TEST_F(HeadlessCommandsTest, RefusedFilesAndWrongArguments) {
    QByteArray newer = DocumentFile::write(*std::make_unique<CPatDoc>(), false);
    newer[9] = 0x21;
    newer[10] = 0x03;
    QByteArray truncated;
    {
        QFile file(documentPath_);
        file.open(QIODevice::ReadOnly);
        truncated = file.readAll();
        truncated.chop(5);
    }
    const QString damaged = write(dir_.path() + "/damaged.vxq", truncated);
    const QString garbage = write(dir_.path() + "/garbage.vxq", "not a document at all");
    const QString newerFile = write(dir_.path() + "/newer.vxq", newer);
    const QString out = dir_.path() + "/out.vxq";
    const QString fifo = dir_.path() + "/pipe.vxq";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A sparse file of 3 GiB that starts like a document.
    const QString huge = write(dir_.path() + "/huge.vxq", QByteArray("\x08QRWNPEMF"));
    ASSERT_TRUE(QFile(huge).resize(qint64(3) << 30));

    struct Case {
        QStringList arguments;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{"--dump", damaged}, 1, QString::fromUtf8("非法文件")},
        {{"--dump", garbage}, 1, QString::fromUtf8("非法文件")},
        {{"--dump", newerFile}, 1, QString::fromUtf8("该文件的版本号时3.21")},
        {{"--export", out, damaged}, 1, QString::fromUtf8("非法文件")},
        {{"--dump", dir_.path() + "/missing.vxq"}, 1, QString::fromUtf8("无法打开文件")},
        {{"--dump"}, 2, "usage"},
        {{"--dump", documentPath_, templatePath_}, 2, "usage"},
        {{"--export", out}, 2, "usage"},
        {{"--export", dir_.path() + "/out.gif", documentPath_}, 2, QString()},
        // Nothing is read from what is no regular file; the message says what it is.
        {{"--dump", "/dev/zero"}, 1, QString::fromUtf8("/dev/zero 是设备")},
        {{"--dump", fifo}, 1, QString::fromUtf8("是命名管道")},
        {{"--dump", dir_.path()}, 1, QString::fromUtf8("是文件夹")},
        {{"--dump", huge}, 1, QString::fromUtf8("非法文件")},
        {{"--export", out, huge}, 1, QString::fromUtf8("非法文件")},
        // A start of the window takes one file and Qt's own options, nothing else.
        {{"--bogus", documentPath_}, 2, "usage"},
        {{documentPath_, "--bogus"}, 2, "unknown option: --bogus"},
        {{documentPath_, templatePath_}, 2, "usage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Outcome r = run(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out)) << "a refused export writes nothing";
}

}  // namespace

namespace {

TEST_F(HeadlessCommandsTest, AWriteThatFailsKeepsTheOldFileAndSaysWhy) {
    // Outputs of more than 4 KB from a document whose picture copies stay under it, written
    // where the process may write only 4 KB per file.
    QImage noise(30, 30, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x * y) % 256));
    const QString picture = dir_.path() + "/noise.bmp";
    ASSERT_TRUE(BmpWriter::write(noise, picture));
    CPatDoc doc;
    doc.newDocument();
    doc.currentRecord()->applyBackground(
        PictureDescription::ofFile(picture, PictureDescription::Background, "c", "n"), doc.backgrounds);
    for (int i = 0; i < 200; ++i) {
        auto record = doc.newRecord();
        for (int v = 0; v < InfoRecord::kValueCount; ++v) record->values[v] = QByteArray::number(i * 7919 + v * 104729);
        doc.records.push_back(std::move(record));
    }
    const QString big = dir_.path() + "/big.vxq";
    DocumentFile::save(doc, big);

    for (const char* name : {"old.vxq", "old.pdf", "old.png"}) {
        SCOPED_TRACE(name);
        const QString out = write(dir_.path() + "/" + name, "the previous version");
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PEMO_HOME", home_);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start("/bin/sh", {"-c", "ulimit -f 4; exec \"$0\" \"$@\"", PEMO_RUNTIME_DIR "/pemo",
                                  "--export", out, big});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(QString::fromUtf8("无法")));
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("the previous version"));
    }
}

}  // namespace
