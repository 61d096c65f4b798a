#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/codecs/BmpWriter.h"

using namespace pemo;
using pemo::test::Bytes;

namespace {

QImage sample(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(10 * x, 20 * y, 30 + x + y));
    return image;
}

}  // namespace

TEST(BmpWriter, WritesTheWindowsLayoutByteForByte) {
    // 3 × 2: rows of 9 bytes padded to 12, bottom row first, blue-green-red.
    QImage image(3, 2, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(11811);
    const QRgb top[] = {qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9)};
    const QRgb bottom[] = {qRgb(0xA1, 0xA2, 0xA3), qRgb(0xB1, 0xB2, 0xB3), qRgb(0xC1, 0xC2, 0xC3)};
    for (int x = 0; x < 3; ++x) {
        image.setPixel(x, 0, top[x]);
        image.setPixel(x, 1, bottom[x]);
    }
    Bytes expected;
    expected.u8('B').u8('M').i32(54 + 24).u16(0).u16(0).i32(54);
    expected.i32(40).i32(3).i32(2).u16(1).u16(24).i32(0).i32(24).i32(3780).i32(11811).i32(0).i32(0);
    expected.raw(
        QByteArray::fromHex("a3a2a1"
                            "b3b2b1"
                            "c3c2c1"
                            "000000"));
    expected.raw(
        QByteArray::fromHex("030201"
                            "060504"
                            "090807"
                            "000000"));
    EXPECT_EQ(BmpWriter::encode(image), expected.data());
}

TEST(BmpWriter, ReadsBackForEveryRowPadding) {
    for (int width : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(width);
        const QImage image = sample(width, 3);
        const QByteArray bmp = BmpWriter::encode(image);
        const qsizetype rowBytes = (width * 3 + 3) / 4 * 4;
        EXPECT_EQ(bmp.size(), 54 + 3 * rowBytes);
        QBuffer buffer;
        buffer.setData(bmp);
        buffer.open(QIODevice::ReadOnly);
        const QImage back = QImageReader(&buffer, "bmp").read();
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
    }
}

TEST(BmpWriter, LaysTransparencyOverWhite) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    image.setPixel(1, 0, qRgba(0, 0, 255, 255));
    const QByteArray bmp = BmpWriter::encode(image);
    EXPECT_EQ(bmp.mid(54, 8), QByteArray::fromHex("ffffff"
                                                  "ff0000"
                                                  "0000"));
}

TEST(BmpWriter, WritesFilesAndReportsFailure) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.bmp");
    const QImage image = sample(4, 2);
    ASSERT_TRUE(BmpWriter::write(image, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), BmpWriter::encode(image));
    EXPECT_FALSE(BmpWriter::write(image, dir.filePath("no/such/folder/page.bmp")));
    EXPECT_FALSE(BmpWriter::write(QImage(), dir.filePath("null.bmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath("null.bmp")));
}
