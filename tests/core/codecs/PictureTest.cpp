#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/codecs/Picture.h"

using namespace pemo;
using pemo::test::Bytes;

namespace {

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);

// 2 × 2: red green / blue white.
QImage quad() {
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, kRed);
    image.setPixel(1, 0, kGreen);
    image.setPixel(0, 1, kBlue);
    image.setPixel(1, 1, kWhite);
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

// A 3 × 1 true-colour TGA, rows top-down.
QByteArray tga3x1() {
    Bytes b;
    b.u8(0).u8(0).u8(2).u16(0).u16(0).u8(0).u16(0).u16(0).u16(3).u16(1).u8(24).u8(0x20);
    return b.raw(QByteArray(9, '\x40'));
}

// A 2 × 1 RLE PCX, 8 bits, no palette.
QByteArray pcx2x1() {
    Bytes b;
    b.u8(0x0A).u8(5).u8(1).u8(8).u16(0).u16(0).u16(1).u16(0).u16(72).u16(72);
    b.raw(QByteArray(48, '\0')).u8(0).u8(1).u16(2).u16(1).raw(QByteArray(58, '\0'));
    return b.u8(0xC2).u8(0x33);
}

// A 1 × 1 GIF whose one pixel is white.
const QByteArray kGif = QByteArray::fromHex(
    "474946383961"
    "01000100"
    "800000"
    "ffffff000000"
    "2c000000000100010000"
    "0202440100"
    "3b");

}  // namespace

TEST(Picture, DecodesByExtension) {
    const QImage image = quad();
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* extension;
        QSize size;  // empty when the picture cannot be decoded
    };
    const Case cases[] = {
        {"png", encoded(image, "PNG"), ".png", {2, 2}},
        {"upper case, no dot", encoded(image, "PNG"), "PNG", {2, 2}},
        {"bmp", encoded(image, "BMP"), ".bmp", {2, 2}},
        {"jpg", encoded(image, "JPEG"), ".jpg", {2, 2}},
        {"jpeg", encoded(image, "JPEG"), ".jpeg", {2, 2}},
        {"tif", encoded(image, "TIFF"), ".tif", {2, 2}},
        {"tiff", encoded(image, "TIFF"), ".tiff", {2, 2}},
        {"gif", kGif, ".gif", {1, 1}},
        {"content differs from the extension", encoded(image, "PNG"), ".jpg", {2, 2}},
        {"tga", tga3x1(), ".tga", {3, 1}},
        {"pcx", pcx2x1(), ".PCX", {2, 1}},
        {"damaged wmf", QByteArray::fromHex("d7cdc69a0000"), ".wmf", {}},
        {"damaged emf", QByteArray(100, '\1'), ".emf", {}},
        {"unknown extension", encoded(image, "PNG"), ".xyz", {}},
        {"damaged png", encoded(image, "PNG").left(30), ".png", {}},
        {"tga read as pcx", tga3x1(), ".pcx", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture picture = Picture::fromData(c.bytes, QString::fromLatin1(c.extension));
        EXPECT_EQ(picture.isNull(), c.size.isEmpty());
        EXPECT_EQ(picture.size(), c.size.isValid() ? c.size : QSize(0, 0));
    }
    EXPECT_EQ(Picture::fromData(kGif, ".gif").image().pixel(0, 0), kWhite);
    EXPECT_TRUE(Picture::isKnownExtension(".EMF"));
    EXPECT_FALSE(Picture::isKnownExtension(".doc"));
}

TEST(Picture, LoadsFromFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sign.PNG");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(encoded(quad(), "PNG"));
    file.close();
    const Picture picture = Picture::fromFile(path);
    EXPECT_EQ(picture.size(), QSize(2, 2));
    EXPECT_EQ(picture.image().pixel(1, 1), kWhite);
    EXPECT_TRUE(Picture::fromFile(dir.filePath("missing.png")).isNull());
}

TEST(Picture, DrawsStretchedAndMirrored) {
    struct Case {
        const char* name;
        QRect target;
        QRect covered;           // the device pixels the picture lands on
        QRgb topLeft, topRight;  // colours seen at the covered area's corners
        QRgb bottomLeft, bottomRight;
    };
    const Case cases[] = {
        {"as is", QRect(1, 1, 2, 2), QRect(1, 1, 2, 2), kRed, kGreen, kBlue, kWhite},
        {"negative width", QRect(3, 1, -2, 2), QRect(1, 1, 2, 2), kGreen, kRed, kWhite, kBlue},
        {"negative height", QRect(1, 3, 2, -2), QRect(1, 1, 2, 2), kBlue, kWhite, kRed, kGreen},
        {"both negative", QRect(3, 3, -2, -2), QRect(1, 1, 2, 2), kWhite, kBlue, kGreen, kRed},
        {"stretched", QRect(0, 2, 4, 4), QRect(0, 2, 4, 4), kRed, kGreen, kBlue, kWhite},
        {"stretched and mirrored", QRect(6, 0, -4, 2), QRect(2, 0, 4, 2), kGreen, kRed, kWhite,
         kBlue},
    };
    const Picture picture(quad());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage canvas(6, 6, QImage::Format_RGB32);
        canvas.fill(kBlack);
        {
            QPainter painter(&canvas);
            picture.draw(painter, c.target);
        }
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x) {
                QRgb expected = kBlack;
                if (c.covered.contains(x, y)) {
                    const bool right = x >= c.covered.center().x() + 1;
                    const bool bottom = y >= c.covered.center().y() + 1;
                    expected = bottom ? (right ? c.bottomRight : c.bottomLeft)
                                      : (right ? c.topRight : c.topLeft);
                }
                EXPECT_EQ(canvas.pixel(x, y), expected) << "at " << x << ", " << y;
            }
        }
    }
}

TEST(Picture, NullPictureOrEmptyTargetDrawsNothing) {
    QImage canvas(4, 4, QImage::Format_RGB32);
    canvas.fill(kBlack);
    {
        QPainter painter(&canvas);
        Picture().draw(painter, QRect(0, 0, 4, 4));
        Picture(quad()).draw(painter, QRect(0, 0, 0, 4));
        Picture(quad()).draw(painter, QRect(0, 0, 4, 0));
    }
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(canvas.pixel(x, y), kBlack);
}

// A photograph larger than Qt agrees to allocate is decoded scaled down to what it
// allows, keeping its shape; its size is still the file's. The limit is lowered here so
// that a small picture stands for a camera's 8000 × 6000 one.
TEST(Picture, JpegOverTheAllocationLimitIsDecodedScaled) {
    const int limitBefore = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(4);  // MB: a million pixels
    QImage image(2000, 1500, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    const Picture picture = Picture::fromData(bytes, QStringLiteral("jpg"));
    const QImage decoded = picture.image();
    QImageReader::setAllocationLimit(limitBefore);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(picture.size(), QSize(2000, 1500));
    EXPECT_LE(qint64(decoded.width()) * decoded.height() * 4, qint64(4) * 1024 * 1024);
    EXPECT_NEAR(double(decoded.width()) / decoded.height(), 2000.0 / 1500.0, 0.01);
    EXPECT_GT(decoded.pixelColor(decoded.width() / 2, decoded.height() / 2).blue(), 240);
}
