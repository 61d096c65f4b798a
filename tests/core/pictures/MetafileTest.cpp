#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#include <QElapsedTimer>
#include <QtEndian>
#include <QFile>
#include <QPainter>
#include <vector>

#include "PictureTestSupport.h"
#include "core/codecs/Metafile.h"
#include "core/codecs/Picture.h"

using namespace pemo;
using namespace pemo::picturetest;

// Both metafile types are drawn as vectors at the size they are given: the square's
// edges stay sharp however large, and the white around it stays transparent.
TEST(Metafile, WmfAndEmfDrawnAtTheOutputsResolution) {
    struct Case {
        const char* extension;
        QByteArray bytes;
    };
    for (const Case& c : {Case{"wmf", redSquareWmf()}, Case{"emf", redSquareEmf()}}) {
        const Picture picture = Picture::fromData(c.bytes, QString::fromLatin1(c.extension));
        ASSERT_FALSE(picture.isNull()) << c.extension;
        EXPECT_TRUE(picture.isVector());
        // 26.46 mm on a 96 dpi screen.
        EXPECT_EQ(picture.size(), QSize(100, 100)) << c.extension;
        for (int side : {100, 1000}) {
            QImage image(side, side, QImage::Format_RGB32);
            image.fill(QColor(128, 128, 128));
            {
                QPainter p(&image);
                picture.drawWhiteTransparent(p, QRect(0, 0, side, side));
            }
            const int q = side / 4;
            EXPECT_EQ(image.pixelColor(side / 2, side / 2), QColor(Qt::red)) << c.extension << side;
            EXPECT_EQ(image.pixelColor(q / 2, q / 2), QColor(128, 128, 128)) << c.extension;
            if (side == 1000) {
                EXPECT_EQ(image.pixelColor(q - 8, side / 2), QColor(128, 128, 128)) << c.extension;
                EXPECT_EQ(image.pixelColor(q + 8, side / 2), QColor(Qt::red)) << c.extension;
            }
        }
    }
}

TEST(Metafile, DamagedMetafilesGiveNoPicture) {
    const QByteArray wmf = redSquareWmf();
    const QByteArray emf = redSquareEmf();
    for (const auto& [bytes, ext] : {std::pair{QByteArray("junk"), "wmf"}, std::pair{QByteArray(), "emf"},
                                      std::pair{wmf.left(30), "wmf"}, std::pair{emf.left(60), "emf"},
                                      std::pair{emf, "wmf"}}) {
        EXPECT_TRUE(Picture::fromData(bytes, QString::fromLatin1(ext)).isNull()) << ext << bytes.size();
    }
}

// libwmf keeps a copy of the device context for every save: a file of many nested saves
// (200,000 in 1.2 MB took over a minute) or of very many records is refused.
TEST(Metafile, WmfRecordsAreBounded) {
    const auto repeated = [](const QByteArray& record, int times) {
        QByteArray out;
        out.reserve(record.size() * times);
        for (int i = 0; i < times; ++i) out += record;
        return out;
    };
    const QByteArray save = QByteArray::fromHex("030000001e00");            // SAVEDC
    const QByteArray restore = QByteArray::fromHex("040000002701ffff");     // RESTOREDC -1
    const QByteArray mode = QByteArray::fromHex("0400000002010100");        // SETBKMODE
    const struct {
        const char* name;
        QByteArray records;
        bool drawn;
    } cases[] = {
        {"saves nested 1000 deep", repeated(save, 1000), true},
        {"saves nested 1001 deep", repeated(save, 1001), false},
        {"200,000 saves", repeated(save, 200000), false},
        {"saves each restored", repeated(save + restore, 5000), true},
        {"249,000 other records", repeated(mode, 249000), true},
        {"251,000 other records", repeated(mode, 251000), false},
    };
    for (const auto& c : cases) {
        QElapsedTimer clock;
        clock.start();
        const Picture picture = Picture::fromData(redSquareWmf(c.records), QStringLiteral("wmf"));
        EXPECT_EQ(!picture.isNull(), c.drawn) << c.name;
        EXPECT_LT(clock.elapsed(), 5000) << c.name;
    }
}

// libwmf allocates what the header says the largest record takes before it reads any: a
// header claiming 3.4 GB is drawn all the same, within half a gigabyte of address space.
TEST(Metafile, AnOverstatedLargestRecordIsNotAllocated) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#else
    QByteArray wmf = redSquareWmf();
    qToLittleEndian<quint32>(0x666E6977, wmf.data() + 22 + 12);
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    ASSERT_GT(pages, 0);
    rlimit saved{};
    getrlimit(RLIMIT_AS, &saved);
    const rlimit tight{rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(512) << 20), saved.rlim_max};
    setrlimit(RLIMIT_AS, &tight);
    const Picture picture = Picture::fromData(wmf, QStringLiteral("wmf"));
    setrlimit(RLIMIT_AS, &saved);
    EXPECT_FALSE(picture.isNull());
#endif
}

// Metafiles as a drawing program writes them (made by tests/data/metafiles/
// make_fixtures.sh): the WMF switches to a scaled mapping mode, sets only its window
// and a transparent background, and holds a shape with a hole. Each is drawn where
// and as solidly as in the drawing it came from.
TEST(Metafile, DrawingProgramsFilesDrawnAsDrawn) {
    struct Probe {
        QPoint at;  // in the drawing's 100 × 60 px
        QColor colour;
    };
    const QColor background(128, 128, 128);
    const std::vector<Probe> probes = {
        {{25, 30}, Qt::red},  {{8, 30}, Qt::red},     {{25, 4}, background},  {{2, 2}, background},
        {{52, 30}, Qt::blue}, {{62, 30}, Qt::green},  {{70, 22}, Qt::green},  {{70, 30}, Qt::blue},
        {{70, 46}, Qt::blue}, {{95, 30}, background}, {{70, 56}, background},
    };
    struct Case {
        const char* extension;
        QSize size;  // as the file's header gives it: the EMF's frame is 27 × 16 mm
    };
    for (const auto& [extension, size] : {Case{"wmf", {100, 60}}, Case{"emf", {102, 60}}}) {
        QFile file(QStringLiteral(PEMO_TEST_DATA "/metafiles/inkscape-shapes.") +
                   QLatin1String(extension));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << extension;
        const Picture picture = Picture::fromData(file.readAll(), QString::fromLatin1(extension));
        ASSERT_FALSE(picture.isNull()) << extension;
        EXPECT_EQ(picture.size(), size) << extension;
        const int scale = 4;
        QImage image(100 * scale, 60 * scale, QImage::Format_RGB32);
        image.fill(background);
        {
            QPainter p(&image);
            picture.drawWhiteTransparent(p, image.rect());
        }
        for (const Probe& probe : probes) {
            EXPECT_EQ(image.pixelColor(probe.at * scale), probe.colour)
                << extension << " at " << probe.at.x() << "," << probe.at.y();
        }
    }
}
