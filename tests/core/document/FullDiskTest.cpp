// Every writer of a file, with the disk full half way: the old file stays as it was and
// the failure is reported, never a success over an empty or cut file.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "core/codecs/BmpWriter.h"
#include "core/config/DicFile.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/PagePictureFile.h"
#include "core/platform/FileError.h"
#include "core/platform/SafeFile.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintMode.h"

using namespace pemo;

namespace {

// Files of this process may grow to 4 KB while it lives, as on a nearly full disk.
class SmallDisk {
public:
    SmallDisk() {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SmallDisk() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

QImage noise(int size) {
    QRandomGenerator random(7);
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) image.setPixel(x, y, random.generate() | 0xFF000000u);
    return image;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

}  // namespace

TEST(FullDisk, EveryWriterKeepsTheOldFileAndFails) {
    QTemporaryDir dir;
    CPatDoc doc;
    doc.newDocument();
    for (int i = 0; i < 300; ++i) {
        auto record = doc.newRecord();
        for (int v = 0; v < InfoRecord::kValueCount; ++v)
            record->setValue(v, QByteArray::number(QRandomGenerator::global()->generate()));
        doc.records.push_back(std::move(record));
    }
    const QByteArray big(20000, 'x');

    struct Case {
        const char* name;
        std::function<bool(const QString& path)> write;  // false or throws on failure
    };
    const Case cases[] = {
        {"document.vxq", [&](const QString& p) { DocumentFile::save(doc, p); return true; }},
        {"picture.bmp", [](const QString& p) { return BmpWriter::write(noise(100), p); }},
        {"picture.png", [](const QString& p) { return PagePictureFile::write(noise(100), p); }},
        {"any.bin", [&](const QString& p) { SafeFile::write(p, big); return true; }},
        {"signs.pdf", [&](const QString& p) {
             PrintJob job(doc);
             PrintSettings settings;
             settings.mode = PrintMode::ByItemWithBackground;
             return job.prepare(settings) && PdfOutput::write(job, p, QSizeF(210, 297), 300, nullptr);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the previous version");
        old.close();
        bool written = true;
        {
            SmallDisk disk;
            try {
                written = c.write(path);
            } catch (const IoError& error) {
                written = false;
                EXPECT_TRUE(error.message().contains(QString::fromUtf8("磁盘已满"))) << error.message().toStdString();
            }
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(contents(path), QByteArray("the previous version"));
        EXPECT_TRUE(c.write(path)) << "with room on the disk the same write succeeds";
    }
}

TEST(FullDisk, ASettingsFileThatCannotBeWrittenKeepsTheOldOne) {
    const QString name = QStringLiteral("PemTest.dic");
    ASSERT_TRUE(DicFile::write(name, "old"));
    {
        SmallDisk disk;
        EXPECT_FALSE(DicFile::write(name, QByteArray(10000, 'n')));
    }
    EXPECT_EQ(*DicFile::read(name), QByteArray("old"));
}
